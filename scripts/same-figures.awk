# Compares two `varnex analyze --json` outputs (one value a line) given as
# FILE1 FILE2 and prints the lines where they part. Numbers agree when within
# `tolerance` of each other relative to the larger, or absolutely for those
# below 1; every other line must be equal. The plug-in's file name and the
# picture, which differ by build, are left out.
# usage: awk -v tolerance=1e-5 -f same-figures.awk linux.json windows.json
function figures(file, lines, line, count, skipping) {
    count = 0
    skipping = 0
    while ((getline line < file) > 0) {
        if (line ~ /^  "plugin": /)
            continue
        if (line ~ /^  "picture": /) {
            skipping = 1
            continue
        }
        if (skipping) {
            if (line ~ /^  }/)
                skipping = 0
            continue
        }
        sub(/,$/, "", line) # the last member before the picture loses its comma
        lines[++count] = line
    }
    close(file)
    return count
}
function number(line) {
    sub(/^ *("[^"]*": )?/, "", line)
    return line
}
function isNumber(text) {
    return text ~ /^-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?$/
}
function abs(x) { return x < 0 ? -x : x }
BEGIN {
    a = figures(ARGV[1], first)
    b = figures(ARGV[2], second)
    if (a != b || a == 0) {
        printf "%d lines against %d\n", a, b
        exit 1
    }
    worst = 0
    bad = 0
    for (i = 1; i <= a; ++i) {
        if (first[i] == second[i])
            continue
        x = number(first[i])
        y = number(second[i])
        scale = abs(x) > abs(y) ? abs(x) : abs(y)
        if (scale < 1)
            scale = 1
        if (isNumber(x) && isNumber(y) && abs(x - y) / scale <= tolerance) {
            if (abs(x - y) / scale > worst)
                worst = abs(x - y) / scale
            continue
        }
        if (++bad <= 20)
            printf "line %d: %s | %s\n", i, first[i], second[i]
    }
    if (bad > 0) {
        printf "%d of %d lines differ\n", bad, a
        exit 1
    }
    printf "largest relative difference %g\n", worst
}
