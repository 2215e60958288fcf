// Names (file names, options, commands) in mshost's one-line messages.
#pragma once

#include <string>
#include <string_view>

namespace mshost {

// `name` in single quotes, escaped as in C so that the message stays one
// line whatever the name holds: a quote as \', a backslash as \\, a line
// feed as \n, a tab as \t and every other control byte (0x00-0x1F, 0x7F)
// as \xHH. Other bytes are kept as they are.
std::string Quoted(std::string_view name);

// `name` for a message that shows it without quotes ("<file>: <what>"):
// only the control bytes are escaped, as in Quoted.
std::string Unquoted(std::string_view name);

}  // namespace mshost
