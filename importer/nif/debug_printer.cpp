#include "importer/nif/debug_printer.h"

#include "platform/platform.h"

void DebugPrinter::PrintText(const char* text) {
    platform::DebugOutput(text);
    platform::Pause(1);
}

void DebugPrinter::EndLine() {
    platform::DebugOutput("\n");
    platform::Pause(1);
}
