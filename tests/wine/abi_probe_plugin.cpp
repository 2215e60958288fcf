// A minimal plug-in built from host/plugin_abi.h, for the Windows test host
// to prove the object layout: every call it gets is written into a record
// that the caller passes as the "model" handle, so the caller sees which
// object it reached, with which argument, and when the object was destroyed.
#include <cstring>

#include "host/plugin_abi.h"

namespace {

// What the test host passes instead of a model; laid out the same way there.
struct ProbeRecord {
    int executeCalls;
    int destructorCalls;
    const void* lastObject;
};

constexpr int kProbeKind = 0x5157;

class ProbePlugIn : public msPlugInObject {
public:
    ProbePlugIn() : msPlugInObject{&msPlugInTableFor<ProbePlugIn>::table} {
        std::strcpy(title_, "ABI probe plug-in");
    }
    ~ProbePlugIn() {
        if (record_) ++record_->destructorCalls;
    }
    int Kind() { return kind_; }
    const char* Title() { return title_; }
    int Execute(msModel* model) {
        if (!model) return -1;
        record_ = reinterpret_cast<ProbeRecord*>(model);
        ++record_->executeCalls;
        record_->lastObject = this;
        return 1000 + record_->executeCalls;
    }

private:
    int kind_ = kProbeKind;
    char title_[64] = {};
    ProbeRecord* record_ = nullptr;
};

}  // namespace

MS_PLUGIN_EXPORT msPlugInObject* CreatePlugIn() { return new (std::nothrow) ProbePlugIn(); }
