// mshost check of one file: the importer's reader, nothing added to any model.
#include <exception>
#include <new>

#include "importer/nif/debug_printer.h"
#include "importer/nif/messages.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "mshost/cli/check_file.h"
#include "mshost/cli/commands.h"
#include "mshost/files/quoted_name.h"
#include "mshost/files/file_io.h"
#include "mshost/plugins/run_report.h"
#include "platform/headless.h"

namespace mshost {

FileCheck CheckNifFile(const std::string& path) {
    platform::headless::Reset();
    FileCheck check;
    // The load's sink, finished after the load, whichever way it ended.
    DebugPrinter diagnostics;
    try {
        Qiv_Stream stream(&diagnostics);
        stream.OpenFile(path.c_str());
        NifFile file(&stream);
        const int count = file.GetBlockCount();
        check.blockKinds.reserve(count > 0 ? static_cast<size_t>(count) : 0);
        for (int i = 0; i < count; ++i) check.blockKinds.push_back(file.GetBlock(i)->Kind());
        check.result = FileCheck::kLoaded;
    } catch (const TextException& failure) {
        check.result = FileCheck::kRejected;
        check.error = failure.Text();
    } catch (const std::bad_alloc&) {
        check.blockKinds.clear();
        check.error = "out of memory while loading " + Quoted(path);
    } catch (const std::exception& failure) {
        check.blockKinds.clear();
        check.error = "unexpected failure while loading " + Quoted(path) + ": " + failure.what();
    }
    diagnostics.Finish();
    return check;
}

std::string UnknownBlockTypeOf(const std::string& message) {
    const std::string format = nif_messages::kUnknownBlockType;
    const size_t hole = format.find("%s");
    const std::string head = format.substr(0, hole);
    const std::string tail = format.substr(hole + 2);
    if (message.size() < head.size() + tail.size() || message.compare(0, head.size(), head) != 0 ||
        message.compare(message.size() - tail.size(), tail.size(), tail) != 0) {
        return "";
    }
    return message.substr(head.size(), message.size() - head.size() - tail.size());
}

int RunCheck(const std::string& path, std::string* out, std::string* err) {
    std::string refusal;
    if (!CheckInputFile(path.c_str(), &refusal)) {
        *err += "mshost: " + refusal + "\n";
        return 2;
    }
    const FileCheck check = CheckNifFile(path);
    int status = 0;
    switch (check.result) {
        case FileCheck::kLoaded:
            *out += "ok: " + std::to_string(check.blockKinds.size()) + " blocks\n";
            for (size_t i = 0; i < check.blockKinds.size(); ++i) {
                *out += std::to_string(i) + " " + TypeNameOf(check.blockKinds[i]) + "\n";
            }
            break;
        case FileCheck::kRejected:
            *out += "error: " + check.error + "\n";
            status = 1;
            break;
        case FileCheck::kFailed:
            *err += "mshost: " + check.error + "\n";
            status = 2;
            break;
    }
    for (const std::string& line : SplitLines(platform::headless::DebugText())) *err += line + "\n";
    return status;
}

}  // namespace mshost
