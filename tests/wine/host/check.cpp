#include "check.h"

namespace wine_test {
namespace {

TestCase* first = nullptr;
TestCase* last = nullptr;
int failuresInCase = 0;
bool skippedCase = false;
int optionCount = 0;
char** optionValues = nullptr;

void PrintLine(const char* prefix, const char* format, va_list args) {
    printf("%s", prefix);
    vprintf(format, args);
    printf("\n");
    fflush(nullptr);
}

}  // namespace

Registration::Registration(TestCase* test) {
    if (last) {
        last->next = test;
    } else {
        first = test;
    }
    last = test;
}

void Fail(const char* file, int line, const char* format, ...) {
    ++failuresInCase;
    const char* base = strrchr(file, '/');
    printf("%s:%d: ", base ? base + 1 : file, line);
    va_list args;
    va_start(args, format);
    PrintLine("", format, args);
    va_end(args);
}

void Note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    PrintLine("  note: ", format, args);
    va_end(args);
}

void Skip(const char* reason) {
    skippedCase = true;
    printf("  skipped: %s\n", reason);
    fflush(nullptr);
}

bool TextEquals(const char* a, const char* b) {
    if (!a || !b) return a == b;
    return strcmp(a, b) == 0;
}

void SetOptions(int count, char** values) {
    optionCount = count;
    optionValues = values;
}

const char* Option(const char* name) {
    const size_t length = strlen(name);
    for (int i = 0; i < optionCount; ++i) {
        const char* value = optionValues[i];
        if (strncmp(value, "--", 2) == 0 && strncmp(value + 2, name, length) == 0 && value[2 + length] == '=') {
            return value + 3 + length;
        }
    }
    return nullptr;
}

int RunTests(const char* group, int* passed, int* failed, int* skipped) {
    for (TestCase* test = first; test; test = test->next) {
        if (group && strcmp(group, test->group) != 0) continue;
        printf("[ RUN      ] %s.%s\n", test->group, test->name);
        fflush(nullptr);
        failuresInCase = 0;
        skippedCase = false;
        test->function();
        if (failuresInCase) {
            ++*failed;
            printf("[  FAILED  ] %s.%s\n", test->group, test->name);
        } else if (skippedCase) {
            ++*skipped;
            printf("[  SKIPPED ] %s.%s\n", test->group, test->name);
        } else {
            ++*passed;
            printf("[       OK ] %s.%s\n", test->group, test->name);
        }
        fflush(nullptr);
    }
    return *failed;
}

}  // namespace wine_test
