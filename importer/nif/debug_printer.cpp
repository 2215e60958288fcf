#include "importer/nif/debug_printer.h"

#include <cstdio>

#include "importer/nif/messages.h"
#include "platform/platform.h"

void DebugPrinter::ShowBox(const char* text, const char* caption) {
    try {
        auto key = std::make_pair(std::make_pair(caption != nullptr, std::string(caption ? caption : "")),
                                  std::string(text ? text : ""));
        if (!shownBoxes_.insert(std::move(key)).second) {
            ++boxesHeldBack_;
            return;
        }
    } catch (...) {
        // Out of memory for the record: the box is shown, not lost.
    }
    platform::ShowMessageBox(text, caption);
}

void DebugPrinter::Write(const char* text) {
    platform::DebugOutput(text);
    platform::Pause(1);
}

void DebugPrinter::PrintText(const char* text) {
    if (LineIsWritten()) Write(text);
}

void DebugPrinter::EndLine() {
    if (!LineIsWritten()) {
        ++linesHeldBack_;
        return;
    }
    Write("\n");
    ++linesWritten_;
}

void DebugPrinter::WriteLine(const std::string& text) {
    PrintText(text.c_str());
    EndLine();
}

void DebugPrinter::WriteCount(const char* format, int count) {
    // Formatted in place: the run may be ending because memory ran out.
    char line[sizeof nif_messages::kRepeatedBoxesNotShown + 16];
    std::snprintf(line, sizeof line, format, count);
    Write(line);
    Write("\n");
}

void DebugPrinter::Finish() {
    // Written past the cap: they are what tells the user that something was held back.
    if (boxesHeldBack_ != 0) WriteCount(nif_messages::kRepeatedBoxesNotShown, boxesHeldBack_);
    if (linesHeldBack_ != 0) WriteCount(nif_messages::kFurtherDebugLinesNotShown, linesHeldBack_);
    boxesHeldBack_ = 0;
    linesHeldBack_ = 0;
}
