// The plug-in object the way the host declares it: a class with a virtual
// destructor and three pure virtual functions, compiled here with the
// Microsoft C++ ABI. Written apart from the project's own host/ headers, so
// that a layout mistake there cannot hide by being made twice.
#pragma once

struct msModel;

class HostPlugIn {
public:
    virtual ~HostPlugIn() {}
    virtual int GetType() = 0;
    virtual const char* GetTitle() = 0;
    virtual int Execute(msModel* model) = 0;
};

typedef HostPlugIn* (*CreatePlugInFunction)();

// The stand-in host's model library (msModelLib.dll): the calls the test host
// makes on a model, imported by name with the C calling convention.
extern "C" {
__declspec(dllimport) msModel* msModel_Create();
__declspec(dllimport) void msModel_Free(msModel* model);
__declspec(dllimport) int msModel_GetDestroyCount(msModel* model);
__declspec(dllimport) int msModel_GetMeshCount(msModel* model);
__declspec(dllimport) int msModel_GetMaterialCount(msModel* model);
__declspec(dllimport) int msModel_GetBoneCount(msModel* model);
__declspec(dllimport) int msModel_AddMesh(msModel* model);
__declspec(dllimport) int msModel_AddMaterial(msModel* model);
}
