// A small test runner for the Windows test host: named cases, checks that
// record a failure and go on, a closing "N passed, N failed" line.
#pragma once

#include "win32_api.h"

namespace wine_test {

using TestFunction = void (*)();

struct TestCase {
    const char* group;
    const char* name;
    TestFunction function;
    TestCase* next;
};

// Registers a case at start-up (static object); cases run in registration order.
struct Registration {
    Registration(TestCase* test);
};

// Records a failed check in the current case, with its place and a message.
void Fail(const char* file, int line, const char* format, ...);
// Prints a note line into the current case's output.
void Note(const char* format, ...);
// Marks the current case skipped (with a reason); later failures still count.
void Skip(const char* reason);

// Runs the cases whose group is `group` (all when null); returns the number of failures.
int RunTests(const char* group, int* passed, int* failed, int* skipped);

// Command-line options given after the group name: "--name=value".
const char* Option(const char* name);
void SetOptions(int count, char** values);

bool TextEquals(const char* a, const char* b);

}  // namespace wine_test

#define WINE_TEST(group, name)                                                                   \
    static void group##_##name();                                                                \
    static wine_test::TestCase group##_##name##_case = {#group, #name, &group##_##name, nullptr}; \
    static wine_test::Registration group##_##name##_registration(&group##_##name##_case);       \
    static void group##_##name()

#define CHECK(condition)                                                                 \
    do {                                                                                 \
        if (!(condition)) wine_test::Fail(__FILE__, __LINE__, "CHECK(%s)", #condition); \
    } while (0)

#define CHECK_EQ_INT(expected, actual)                                                                    \
    do {                                                                                                  \
        const long long e_ = (expected), a_ = (actual);                                                   \
        if (e_ != a_) wine_test::Fail(__FILE__, __LINE__, "%s: expected %d, got %d", #actual, (int)e_, (int)a_); \
    } while (0)

#define CHECK_EQ_TEXT(expected, actual)                                                                     \
    do {                                                                                                    \
        const char* e_ = (expected);                                                                        \
        const char* a_ = (actual);                                                                          \
        if (!wine_test::TextEquals(e_, a_))                                                                 \
            wine_test::Fail(__FILE__, __LINE__, "%s: expected \"%s\", got \"%s\"", #actual, e_ ? e_ : "(null)", \
                            a_ ? a_ : "(null)");                                                            \
    } while (0)
