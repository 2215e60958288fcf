// The plug-in object as the host sees it.
//
// The host is built with Microsoft's compiler and declares the plug-in as a
// class with a virtual destructor and three pure virtual functions (kind,
// title, execute). On 32-bit Windows that compiler lays the object out as a
// pointer to a table of four __thiscall functions at offset 0, with the
// *deleting* destructor in slot 0: the host's `delete p` calls slot 0 with
// flags = 1 (destroy, then free). g++ and mingw give a virtual destructor two
// slots, so a C++ abstract class of ours would not match; the table is
// therefore laid out here by hand, once, for both plug-ins.
#pragma once

#include <new>

#include "msLib.h"

#if defined(__i386__) || defined(_M_IX86)
#define MS_THISCALL __attribute__((thiscall))
#else
#define MS_THISCALL  // x86-64 and other native builds have one convention
#endif

enum msPlugInKind { eTypeImport = 1, eTypeExport = 2 };

struct msPlugInObject;

// Slot order of the host's virtual table.
struct msPlugInTable {
    void* (MS_THISCALL* destroy)(msPlugInObject* self, unsigned flags);  // slot 0
    int (MS_THISCALL* kind)(msPlugInObject* self);                       // slot 1
    const char* (MS_THISCALL* title)(msPlugInObject* self);              // slot 2
    int (MS_THISCALL* execute)(msPlugInObject* self, msModel* model);    // slot 3
};

// Every plug-in object starts with the table pointer.
struct msPlugInObject {
    const msPlugInTable* table;
};

// Builds the table for a plug-in class T that derives from msPlugInObject and
// has non-virtual `int Kind()`, `const char* Title()` and `int Execute(msModel*)`.
// Every entry is noexcept: no C++ exception may cross into the host, so a
// throwing Execute ends the process here rather than unwinding into foreign code.
template <class T>
struct msPlugInTableFor {
    static void* MS_THISCALL Destroy(msPlugInObject* self, unsigned flags) noexcept {
        T* object = static_cast<T*>(self);
        if (flags & 1) {
            delete object;
        } else {
            object->~T();
        }
        return self;
    }
    static int MS_THISCALL Kind(msPlugInObject* self) noexcept { return static_cast<T*>(self)->Kind(); }
    static const char* MS_THISCALL Title(msPlugInObject* self) noexcept { return static_cast<T*>(self)->Title(); }
    static int MS_THISCALL Execute(msPlugInObject* self, msModel* model) noexcept {
        return static_cast<T*>(self)->Execute(model);
    }
    static constexpr msPlugInTable table = {&Destroy, &Kind, &Title, &Execute};
};

// The one exported entry of each plug-in library: C linkage, C calling
// convention, no arguments; returns a new plug-in object or null.
#if defined(_WIN32)
#define MS_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define MS_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Host-side helpers: how the host drives a plug-in object through its table.
inline int msPlugIn_GetType(msPlugInObject* p) { return p->table->kind(p); }
inline const char* msPlugIn_GetTitle(msPlugInObject* p) { return p->table->title(p); }
inline int msPlugIn_Execute(msPlugInObject* p, msModel* m) { return p->table->execute(p, m); }
inline void msPlugIn_Delete(msPlugInObject* p) {
    if (p) p->table->destroy(p, 1);
}

typedef msPlugInObject* (*msCreatePlugInFunction)();
