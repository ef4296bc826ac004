#pragma once
// The test program replaces the global operator new with one that counts,
// so a test can show that a stretch of code allocates nothing.

// Allocations through operator new since the program started.
long allocationsSoFar();
