#include "importer/import_run.h"

#include <new>

#include "importer/convert/conversion_size.h"
#include "importer/convert/convert_block.h"
#include "importer/nif/diagnostics.h"
#include "importer/nif/messages.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/text_exception.h"

int ImportNifFile(msModel* model, const char* fileName, Diagnostics& diagnostics, bool applySceneTransforms) {
    Qiv_Stream stream(&diagnostics);
    stream.OpenFile(fileName);
    NifFile file(&stream);

    NifBlock* root = file.GetRoot();
    CheckConversionSize(root, &diagnostics, applySceneTransforms);
    if (root == nullptr) return 1;
    const int addedMesh = applySceneTransforms ? ConvertPlacedScene(model, root) : ConvertBlock(model, root);
    return addedMesh ? 0 : 1;
}

namespace {

// Finishes the diagnostics however the run leaves.
struct FinishOnExit {
    Diagnostics& diagnostics;
    ~FinishOnExit() { diagnostics.Finish(); }
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

int ImportNifFile(msModel* model, const char* fileName, bool applySceneTransforms) {
    Diagnostics diagnostics;
    FinishOnExit finish{diagnostics};
    return ImportNifFile(model, fileName, diagnostics, applySceneTransforms);
}

ImportResult RunImport(msModel* model, const char* fileName, Diagnostics& diagnostics, bool applySceneTransforms) {
    ImportResult result;
    try {
        result.execute = ImportNifFile(model, fileName, diagnostics, applySceneTransforms);
    } catch (const TextException& error) {
        Fail(result, error.Text().c_str());
    } catch (const std::bad_alloc&) {
        Fail(result, nif_messages::kOutOfMemory);
    } catch (...) {
        Fail(result, nif_messages::kUnexpectedFailure);
    }
    return result;
}
