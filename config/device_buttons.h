// The device tests of the set-up form ("Code page", "Font test") as the bytes they send, and the
// outside card-terminal library that "Admin" runs.
#pragma once

#include <string>

// ESC c 0 2, then the characters 32..255 in rows of 16, each row ended by a line feed.
std::string CodePageBytes();
// ESC c 0 2 and ESC t 46, then for each print mode n = 1..255: ESC ! n, "Font test n", a line feed.
std::string FontTestBytes();

// Loads "c:\Arcus2\dll\arccom.dll" (through the library substitution table) and finds its entry
// "ProcessOw": 0 when both are there, -1 otherwise ("Nevarēju atrast Ingenico Dll arccom.dll !!!"
// is shown when the library itself is missing). Each call loads anew.
int LoadArccomDll();
// Runs one operation of the loaded library with a fresh request, then releases the library;
// nothing when LoadArccomDll did not succeed.
void RunArccomOperation(int operationCode);
