#include "resource_checks.h"

#include "check.h"

namespace wine_test {
namespace {

// A cursor over the template's little-endian words.
struct TemplateReader {
    const unsigned char* data;
    DWORD size;
    DWORD at = 0;
    bool ok = true;
    unsigned Word() {
        if (at + 2 > size) return ok = false, 0u;
        const unsigned value = data[at] | (data[at + 1] << 8);
        at += 2;
        return value;
    }
    DWORD Long() {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    void AlignLong() { at = (at + 3) & ~3u; }
    // A zero-terminated UTF-16 text, kept as ASCII.
    void Text(char* out, int max) {
        int length = 0;
        for (unsigned c = Word(); ok && c; c = Word()) {
            if (length < max - 1) out[length++] = c < 0x80 ? static_cast<char>(c) : '?';
        }
        out[length] = '\0';
    }
    // sz_Or_Ord: 0 (none), 0xFFFF then an ordinal, or a text. Returns the ordinal or -1.
    int TextOrOrdinal(char* out, int max, bool* present) {
        out[0] = '\0';
        const unsigned first = Word();
        *present = first != 0;
        if (first == 0) return -1;
        if (first == 0xFFFF) return static_cast<int>(Word());
        at -= 2;
        Text(out, max);
        return -1;
    }
};

// Window class names compare without regard to case ("STATIC" is "Static").
bool SameClassName(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const char ca = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 32) : *a;
        const char cb = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 32) : *b;
        if (ca != cb) return false;
        if (!ca) return true;
    }
}

}  // namespace

void CheckTemplateControls(const DialogTemplate& dialog, const TemplateControl* expected, int count) {
    const DWORD childVisible = 0x40000000 | 0x10000000;  // WS_CHILD | WS_VISIBLE
    CHECK_EQ_INT(count, dialog.controlCount);
    for (int i = 0; i < count && i < dialog.controlCount; ++i) {
        const TemplateControl& e = expected[i];
        const TemplateControl& c = dialog.controls[i];
        if (e.id != c.id || e.classOrdinal != c.classOrdinal || strcmp(e.text, c.text) != 0 || e.x != c.x ||
            e.y != c.y || e.cx != c.cx || e.cy != c.cy || (childVisible | e.style) != c.style || c.exStyle != 0) {
            Fail(__FILE__, __LINE__,
                 "control %d: expected id %d class 0x%x \"%s\" at %d,%d %dx%d style 0x%08x, found id %d class 0x%x "
                 "\"%s\" at %d,%d %dx%d style 0x%08x ex 0x%x",
                 i, (int)e.id, e.classOrdinal, e.text, e.x, e.y, e.cx, e.cy, (unsigned)(childVisible | e.style),
                 (int)c.id, c.classOrdinal, c.text, c.x, c.y, c.cx, c.cy, (unsigned)c.style, (unsigned)c.exStyle);
        }
    }
}

bool LoadDialogTemplate(const char* dll, int id, unsigned short language, DialogTemplate* out) {
    memset(out, 0, sizeof(*out));
    HMODULE module = LoadLibraryExA(dll, nullptr, kLoadAsDataFile);
    if (!module) {
        Fail(__FILE__, __LINE__, "cannot load %s as data", dll);
        return false;
    }
    const char* dialogType = reinterpret_cast<const char*>(static_cast<uintptr_t>(5));  // RT_DIALOG
    const char* name = reinterpret_cast<const char*>(static_cast<uintptr_t>(id));
    HRSRC resource = FindResourceExA(module, dialogType, name, language);
    bool parsed = false;
    if (!resource) {
        Fail(__FILE__, __LINE__, "%s has no dialog %d in language 0x%04x", dll, id, language);
    } else {
        TemplateReader r = {static_cast<const unsigned char*>(LockResource(LoadResource(module, resource))),
                            SizeofResource(module, resource)};
        const unsigned version = r.Word();
        const unsigned signature = r.Word();
        if (version != 1 || signature != 0xFFFF) {
            Fail(__FILE__, __LINE__, "dialog %d is not an extended template", id);
        } else {
            r.Long();  // help id
            out->exStyle = r.Long();
            out->style = r.Long();
            out->controlCount = static_cast<int>(r.Word());
            out->x = static_cast<short>(r.Word());
            out->y = static_cast<short>(r.Word());
            out->cx = static_cast<short>(r.Word());
            out->cy = static_cast<short>(r.Word());
            char ignored[64];
            r.TextOrOrdinal(ignored, sizeof(ignored), &out->hasMenu);
            r.TextOrOrdinal(ignored, sizeof(ignored), &out->hasClass);
            r.Text(out->caption, sizeof(out->caption));
            if (out->style & 0x40) {  // DS_SETFONT: point size, weight, italic and charset, face name
                out->pointSize = static_cast<int>(r.Word());
                r.Word();
                r.Word();
                r.Text(out->font, sizeof(out->font));
            }
            if (out->controlCount > 32) out->controlCount = 32;
            for (int i = 0; i < out->controlCount && r.ok; ++i) {
                TemplateControl& c = out->controls[i];
                r.AlignLong();
                r.Long();  // help id
                c.exStyle = r.Long();
                c.style = r.Long();
                c.x = static_cast<short>(r.Word());
                c.y = static_cast<short>(r.Word());
                c.cx = static_cast<short>(r.Word());
                c.cy = static_cast<short>(r.Word());
                c.id = static_cast<long>(r.Long());
                bool present = false;
                char className[64];
                c.classOrdinal = r.TextOrOrdinal(className, sizeof(className), &present);
                if (c.classOrdinal < 0) {
                    // Named classes are mapped onto the same ordinals for the comparison.
                    const char* names[] = {"Button", "Edit", "Static"};
                    for (int n = 0; n < 3; ++n) {
                        if (SameClassName(className, names[n])) c.classOrdinal = 0x80 + n;
                    }
                }
                r.TextOrOrdinal(c.text, sizeof(c.text), &present);
                const unsigned extra = r.Word();
                r.at += extra;
            }
            parsed = r.ok;
            if (!r.ok) Fail(__FILE__, __LINE__, "dialog %d ends early", id);
        }
    }
    FreeLibrary(module);
    return parsed;
}

}  // namespace wine_test
