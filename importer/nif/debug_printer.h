// DebugPrinter: everything one importer run tells the user, in one place.
//
// Message boxes, debugger lines and link warnings all pass through the run's
// DebugPrinter, which shows and writes them through the platform layer (the
// Win32 calls, or the headless records on Linux). It keeps a small file from
// flooding the host:
// - a box whose caption and text both equal those of a box already shown in
//   this run is not shown again, only counted;
// - at most kMaxDebugLines lines are written; later lines are counted, not
//   written, and not followed by the pause;
// - Finish writes the two counts, each only when not zero, past that cap.
// A debug line is one or more Write calls followed by EndLine; each write is
// one debugger-output call followed by a one-millisecond pause.
#pragma once

#include <set>
#include <string>
#include <utility>

class DebugPrinter {
public:
    static constexpr int kMaxDebugLines = 1000;

    DebugPrinter() = default;
    DebugPrinter(const DebugPrinter&) = delete;
    DebugPrinter& operator=(const DebugPrinter&) = delete;

    // Shows a modal box with an OK button, unless this run already showed one
    // with the same caption and text. A null caption is the system's default
    // caption, a caption of its own. Never throws.
    void ShowBox(const char* text, const char* caption);

    // One piece of the current debug line, and the line's end ("\n").
    void PrintText(const char* text);
    void EndLine();
    // A whole line: `text`, then the line's end.
    void WriteLine(const std::string& text);

    // Writes "N repeated message boxes not shown" and then "N further debug
    // lines not shown", each when its count is not zero, and clears the counts.
    // Allocates nothing and never throws.
    void Finish();

    int LinesWritten() const { return linesWritten_; }
    int LinesHeldBack() const { return linesHeldBack_; }
    int BoxesHeldBack() const { return boxesHeldBack_; }

private:
    bool LineIsWritten() const { return linesWritten_ < kMaxDebugLines; }
    static void Write(const char* text);
    static void WriteCount(const char* format, int count);

    // Caption (the flag tells a null caption from an empty one) and text of every box shown.
    std::set<std::pair<std::pair<bool, std::string>, std::string>> shownBoxes_;
    int boxesHeldBack_ = 0;
    int linesWritten_ = 0;
    int linesHeldBack_ = 0;
};
