// A stand-in plug-in for the mshost command-line tests: it goes through the
// same table, dialog and platform calls as the real plug-ins, and leaves
// traces the tests can check exactly. Its behaviour is set by environment
// variables (it runs inside the mshost process):
//   FAKE_PLUGIN_KIND     its kind (default 1)
//   FAKE_PLUGIN_DESTROY  when set, execute calls msModel_Destroy on the model
//   FAKE_PLUGIN_NULL     when set, CreatePlugIn returns null
//   FAKE_PLUGIN_SIGNAL   a signal number: after the dialog, execute creates
//                        a temporary file beside field 1000's name, as an
//                        exporter does, and raises that signal
// Execute: runs dialog 101 (OK copies fields 1000 and 1001), shows two
// message boxes, writes two debugger lines, adds one mesh and one material,
// and returns the number of meshes the model had before.
#include <csignal>
#include <cstdlib>
#include <string>

#include "host/plugin_abi.h"
#include "platform/platform.h"

namespace {

class FakePlugIn : public msPlugInObject {
public:
    FakePlugIn() { table = &msPlugInTableFor<FakePlugIn>::table; }

    int Kind() {
        const char* kind = std::getenv("FAKE_PLUGIN_KIND");
        return kind ? std::atoi(kind) : 1;
    }
    const char* Title() { return "Fake \"plug-in\"\xe9"; }
    int Execute(msModel* model);

private:
    static intptr_t DialogProcedure(platform::DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam);

    std::string file_;
    std::string textures_;
};

FakePlugIn* gDialogOwner = nullptr;

intptr_t FakePlugIn::DialogProcedure(platform::DialogHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (message == platform::kMessageInitDialog) {
        gDialogOwner = reinterpret_cast<FakePlugIn*>(lParam);
        return 1;
    }
    if (message != platform::kMessageCommand) return 0;
    if ((wParam & 0xFFFF) == platform::kIdOk) {
        gDialogOwner->file_ = platform::GetItemText(dialog, 1000, 1000);
        gDialogOwner->textures_ = platform::GetItemText(dialog, 1001, 1000);
        platform::EndModalDialog(dialog, 1);
        return 1;
    }
    if ((wParam & 0xFFFF) == platform::kIdCancel) {
        platform::EndModalDialog(dialog, 0);
        return 1;
    }
    return 0;
}

int FakePlugIn::Execute(msModel* model) {
    if (!model) return -1;
    const intptr_t answer = platform::RunModalDialog(platform::ModuleContaining(reinterpret_cast<const void*>(&DialogProcedure)),
                                                     101, &DialogProcedure, reinterpret_cast<intptr_t>(this));
    if (answer != 1) return -2;
    if (const char* signal = std::getenv("FAKE_PLUGIN_SIGNAL")) {
        platform::TemporaryFile file;
        if (platform::CreateTemporaryFile(file_, ".fake-", &file)) std::raise(std::atoi(signal));
        return -3;
    }
    const int meshesBefore = msModel_GetMeshCount(model);
    platform::ShowMessageBox(("file=" + file_ + " textures=" + textures_).c_str(), "Fake");
    platform::ShowMessageBox("second box", nullptr);
    platform::DebugOutput("debug one\n");
    platform::DebugOutput("debug two");

    msMesh* mesh = msModel_GetMeshAt(model, msModel_AddMesh(model));
    msMesh_SetName(mesh, "FakeMesh");
    msMesh_SetMaterialIndex(mesh, msModel_AddMaterial(model));
    float xyz[3] = {1, 2, 3};
    msVertex_SetVertex(msMesh_GetVertexAt(mesh, msMesh_AddVertex(mesh)), xyz);
    msMaterial_SetDiffuseTexture(msModel_GetMaterialAt(model, msModel_GetMaterialCount(model) - 1), textures_.c_str());
    if (std::getenv("FAKE_PLUGIN_DESTROY")) msModel_Destroy(model);
    return meshesBefore;
}

}  // namespace

MS_PLUGIN_EXPORT msPlugInObject* CreatePlugIn() {
    if (std::getenv("FAKE_PLUGIN_NULL")) return nullptr;
    return new FakePlugIn();
}
