#include "importer/import_run.h"

#include "importer/convert/conversion_size.h"
#include "importer/convert/convert_block.h"
#include "importer/nif/debug_printer.h"
#include "importer/nif/nif_file.h"
#include "importer/nif/qiv_stream.h"
#include "platform/platform.h"

int ImportNifFile(msModel* model, const char* fileName) {
    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    stream.OpenFile(fileName);
    NifFile file(&stream);

    NifBlock* root = file.GetRoot();
    CheckConversionSize(root, &printer);
    const int addedMesh = root != nullptr ? ConvertBlock(model, root) : 0;
    return addedMesh ? 0 : 1;
}

void ShowImportError(const char* text) { platform::ShowMessageBox(text, "NIF Import Error"); }
