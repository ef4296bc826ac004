#pragma once
// The test program replaces the global operator new with one that counts,
// so a test can show that a stretch of code allocates nothing. Sanitizer
// builds keep their own allocator, which mixes badly with a replacement
// (memory from a library's operator new would reach this program's
// delete), and count nothing.

// Whether allocationsSoFar() counts in this build.
bool allocationsCounted();
// Allocations through operator new since the program started.
long allocationsSoFar();
