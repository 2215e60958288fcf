// Whether an output file can be put where it is named, asked before a run so
// that a run is never wasted on an output that cannot be written.
#pragma once

#include <initializer_list>
#include <string>

namespace mshost {

// True when the folder of `path` (the current folder when `path` names none)
// exists, is a folder and takes new files; else false and the one-line reason
// "cannot create 'PATH': REASON" with the system's reason.
bool CheckOutputFolder(const std::string& path, std::string* error);

// True when `output` names one of the run's inputs (null entries are skipped),
// by its text or as the same file through links.
bool NamesAnInput(const std::string& output, std::initializer_list<const std::string*> inputs);

}  // namespace mshost
