#include "cli/StateOptions.h"

#include "cli/CommandError.h"
#include "cli/CurveOption.h"

bool StateOptions::take(const Arguments& arguments, std::size_t& index) {
    const std::string& option = arguments[index];
    if (option == "--program")
        program = parseProgramNumber(optionValue(arguments, index, command));
    else if (option == "--set")
        parameters.push_back(parseParameterSetting(optionValue(arguments, index, command)));
    else if (option == "--curve")
        curve = optionValue(arguments, index, command);
    else if (option == "--curve-normalized")
        curveNormalized = true;
    else
        return false;
    return true;
}

void StateOptions::check() const {
    if (curveNormalized && !curve)
        throw UsageError(command + ": --curve-normalized needs --curve");
}

std::vector<CurvePoint> StateOptions::curvePoints() const {
    if (!curve)
        return {};
    return parseCurvePoints(*curve, curveNormalized);
}

void StateOptions::applyTo(PluginHost& host) const {
    if (program)
        selectProgram(host, *program);
    applyParameterSettings(host, parameters);
}

const std::string& optionValue(const Arguments& arguments, std::size_t& index,
                               const std::string& command) {
    if (index + 1 >= arguments.size())
        throw UsageError(command + ": option " + arguments[index] + " needs a value");
    return arguments[++index];
}
