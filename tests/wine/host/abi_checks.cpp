// The plug-in object's layout, seen from code built in the Microsoft C++ ABI:
// calls through the table reach the right object with the right arguments,
// leave the stack as it was, and `delete` runs the plug-in's own destructor.
#include "check.h"
#include "host_plugin.h"
#include "plugin_loader.h"

namespace {

struct ProbeRecord {  // the probe plug-in's record, see abi_probe_plugin.cpp
    int executeCalls;
    int destructorCalls;
    const void* lastObject;
};

const int kProbeKind = 0x5157;

#if defined(_M_IX86)
// Calls Execute and reports whether the stack pointer is the same after the
// call as before it: the callee must pop its own argument (__thiscall).
__attribute__((noinline)) int ExecuteKeepingStack(HostPlugIn* plugin, msModel* model, bool* stackKept) {
    uintptr_t before = 0;
    uintptr_t after = 0;
    asm volatile("movl %%esp, %0" : "=r"(before));
    const int result = plugin->Execute(model);
    asm volatile("movl %%esp, %0" : "=r"(after));
    *stackKept = before == after;
    return result;
}
#endif

}  // namespace

WINE_TEST(Abi, ProbeAnswersThroughTheTable) {
    PlugInLibrary probe("abi_probe.dll");
    if (!probe.create) return;
    HostPlugIn* plugin = probe.create();
    CHECK(plugin != nullptr);
    if (!plugin) return;
    CHECK_EQ_INT(kProbeKind, plugin->GetType());
    CHECK_EQ_TEXT("ABI probe plug-in", plugin->GetTitle());
    CHECK_EQ_INT(-1, plugin->Execute(nullptr));

    ProbeRecord record = {0, 0, nullptr};
    for (int call = 1; call <= 100; ++call) {
        const int result = plugin->Execute(reinterpret_cast<msModel*>(&record));
        if (result != 1000 + call) {
            wine_test::Fail(__FILE__, __LINE__, "call %d: result %d", call, result);
            break;
        }
    }
    CHECK_EQ_INT(100, record.executeCalls);
    CHECK(record.lastObject == plugin);  // `this` arrived where the plug-in looks for it
    CHECK_EQ_INT(0, record.destructorCalls);

    delete plugin;  // slot 0 with flags 1: the plug-in's destructor, then its own free
    CHECK_EQ_INT(1, record.destructorCalls);
}

WINE_TEST(Abi, CalleePopsItsArgument) {
#if defined(_M_IX86)
    PlugInLibrary probe("abi_probe.dll");
    if (!probe.create) return;
    HostPlugIn* plugin = probe.create();
    CHECK(plugin != nullptr);
    if (!plugin) return;
    ProbeRecord record = {0, 0, nullptr};
    for (int call = 1; call <= 100; ++call) {
        bool stackKept = false;
        const int result = ExecuteKeepingStack(plugin, reinterpret_cast<msModel*>(&record), &stackKept);
        if (result != 1000 + call || !stackKept) {
            wine_test::Fail(__FILE__, __LINE__, "call %d: result %d, stack kept %d", call, result, stackKept ? 1 : 0);
            break;
        }
    }
    delete plugin;
#else
    wine_test::Skip("the stack balance after a __thiscall call exists only in 32-bit code (x64 has one calling convention)");
#endif
}

WINE_TEST(Abi, EachObjectKeepsItsOwnState) {
    PlugInLibrary probe("abi_probe.dll");
    if (!probe.create) return;
    HostPlugIn* first = probe.create();
    HostPlugIn* second = probe.create();
    CHECK(first && second && first != second);
    if (!first || !second) return;
    ProbeRecord firstRecord = {0, 0, nullptr};
    ProbeRecord secondRecord = {0, 0, nullptr};
    CHECK_EQ_INT(1001, first->Execute(reinterpret_cast<msModel*>(&firstRecord)));
    CHECK_EQ_INT(1001, second->Execute(reinterpret_cast<msModel*>(&secondRecord)));
    CHECK_EQ_INT(1002, second->Execute(reinterpret_cast<msModel*>(&secondRecord)));
    CHECK(firstRecord.lastObject == first);
    CHECK(secondRecord.lastObject == second);
    delete second;
    CHECK_EQ_INT(0, firstRecord.destructorCalls);
    CHECK_EQ_INT(1, secondRecord.destructorCalls);
    delete first;
    CHECK_EQ_INT(1, firstRecord.destructorCalls);
}
