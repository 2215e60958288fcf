// mshost check: the importer's reader on one file, nothing added to any model.
#include <exception>
#include <new>

#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_block.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"
#include "mshost/cli/commands.h"
#include "mshost/files/quoted_name.h"
#include "mshost/files/file_io.h"
#include "mshost/plugins/run_report.h"
#include "platform/headless.h"

namespace mshost {

int RunCheck(const std::string& path, std::string* out, std::string* err) {
    platform::headless::Reset();
    std::string refusal;
    if (!CheckInputFile(path.c_str(), &refusal)) {
        *err += "mshost: " + refusal + "\n";
        return 2;
    }
    int status = 0;
    // The load's sink, finished after the load, whichever way it ended.
    DebugPrinter diagnostics;
    try {
        Qiv_Stream stream(&diagnostics);
        stream.OpenFile(path.c_str());
        NifFile file(&stream);
        const int count = file.GetBlockCount();
        *out += "ok: " + std::to_string(count) + " blocks\n";
        for (int i = 0; i < count; ++i) {
            *out += std::to_string(i) + " " + file.GetBlock(i)->GetTypeName() + "\n";
        }
    } catch (const TextException& failure) {
        *out += "error: " + failure.Text() + "\n";
        status = 1;
    } catch (const std::bad_alloc&) {
        *err += "mshost: out of memory while loading " + Quoted(path) + "\n";
        status = 2;
    } catch (const std::exception& failure) {
        *err += "mshost: unexpected failure while loading " + Quoted(path) + ": " + failure.what() + "\n";
        status = 2;
    }
    diagnostics.Finish();
    for (const std::string& line : SplitLines(platform::headless::DebugText())) *err += line + "\n";
    return status;
}

}  // namespace mshost
