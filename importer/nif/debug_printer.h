// Writes the importer's diagnostics to the debugger output.
//
// A diagnostic line is one or more PrintText calls followed by EndLine. Each
// write is one debugger-output call followed by a one-millisecond pause.
#pragma once

class DebugPrinter {
public:
    void PrintText(const char* text);
    void EndLine();  // writes "\n"
};
