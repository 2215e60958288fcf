#include "importer/import_run.h"

#include <new>

#include "importer/convert/conversion_size.h"
#include "importer/convert/convert_block.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/messages.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"

int ImportNifFile(msModel* model, const char* fileName, const char* textureDirectory, DebugPrinter& debugPrinter,
                  bool applySceneTransforms) {
    Qiv_Stream stream(&debugPrinter);
    stream.OpenFile(fileName);
    NifFile file(&stream, applySceneTransforms);

    NifBlock* root = file.GetRoot();
    CheckConversionSize(root, &debugPrinter, applySceneTransforms);
    if (root == nullptr) return 1;
    const int addedMesh = applySceneTransforms ? ConvertPlacedScene(model, root, textureDirectory)
                                               : ConvertBlock(model, root, textureDirectory);
    return addedMesh ? 0 : 1;
}

namespace {

// Finishes the debug printer however the run leaves.
struct FinishOnExit {
    DebugPrinter& debugPrinter;
    ~FinishOnExit() { debugPrinter.Finish(); }
};

void Fail(ImportResult& result, const char* text) {
    result.failed = true;
    result.execute = 0;
    try {
        result.message = text;
    } catch (...) {
        // No memory to copy the text: the box says why (a text this short needs no memory of its own).
        result.message = nif_messages::kOutOfMemory;
    }
}

}  // namespace

int ImportNifFile(msModel* model, const char* fileName, const char* textureDirectory, bool applySceneTransforms) {
    DebugPrinter debugPrinter;
    FinishOnExit finish{debugPrinter};
    return ImportNifFile(model, fileName, textureDirectory, debugPrinter, applySceneTransforms);
}

ImportResult RunImport(msModel* model, const char* fileName, const char* textureDirectory, DebugPrinter& debugPrinter,
                       bool applySceneTransforms) {
    ImportResult result;
    try {
        result.execute = ImportNifFile(model, fileName, textureDirectory, debugPrinter, applySceneTransforms);
    } catch (const TextException& error) {
        Fail(result, error.Text().c_str());
    } catch (const std::bad_alloc&) {
        Fail(result, nif_messages::kOutOfMemory);
    } catch (...) {
        Fail(result, nif_messages::kUnexpectedFailure);
    }
    return result;
}
