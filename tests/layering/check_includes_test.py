#!/usr/bin/env python3
"""The rules of check_includes.py, each shown on a small src/ tree of its own."""
import pathlib
import sys
import tempfile
import unittest

# The checker is imported from beside this file, leaving no compiled copy in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import check_includes  # noqa: E402

# A few declarations of each kind the Win32 subset holds.
WIN32_H = """\
#pragma once
using BOOL = int;
struct HWND__;
using HWND = HWND__*;
constexpr BOOL TRUE = 1;
BOOL ShowWindow(HWND hwnd, int cmd);
[[noreturn]] void ExitProcess(unsigned code);
static_assert(sizeof(BOOL) == 4);
"""


class TreeTest(unittest.TestCase):
    def tree(self, files: dict) -> pathlib.Path:
        """A src/ folder holding `files` (path relative to src/ -> text)."""
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        src = pathlib.Path(folder.name) / "src"
        for rel, text in files.items():
            path = src / rel
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        return src


class IncludeRules(TreeTest):
    # (the including file, what it includes, the fault after "src/FILE:2: " or "" for none)
    CASES = [
        ("core/a.cpp", "platform/win32.h", ""),
        ("core/a.cpp", "shell/startup.h", "core may not include shell/startup.h"),
        ("authoring/a.cpp", "platform/file_services.h", ""),
        # The backends never include one another.
        ("platform/sdl/a.cpp", "platform/headless/b.h",
         "platform/sdl may not include platform/headless/b.h"),
        ("platform/headless/a.cpp", "platform/sdl/b.h",
         "platform/headless may not include platform/sdl/b.h"),
        ("platform/web/a.cpp", "platform/sdl/b.h", "platform/web may not include platform/sdl/b.h"),
        ("platform/sdl/a.cpp", "platform/sdl/b.h", ""),
        # common/ is the platform's own.
        ("platform/backend.h", "platform/common/b.h", ""),
        ("platform/common/a.cpp", "platform/common/b.h", ""),
        ("platform/sdl/a.cpp", "platform/common/b.h", ""),
        ("platform/web/a.cpp", "platform/common/b.h", ""),
        ("harness/a.cpp", "platform/common/b.h", "harness may not include platform/common/b.h"),
        ("authoring/a.cpp", "platform/common/b.h", "authoring may not include platform/common/b.h"),
        ("programs/a.cpp", "platform/common/b.h", "programs may not include platform/common/b.h"),
        # Outside platform/ only the programs and the harness reach a backend.
        ("programs/a.cpp", "platform/sdl/b.h", ""),
        ("harness/a.cpp", "platform/headless/b.h", ""),
        ("shell/a.cpp", "platform/sdl/b.h", "shell may not include platform/sdl/b.h"),
        ("core/a.cpp", "platform/headless/b.h", "core may not include platform/headless/b.h"),
        ("platform/common/a.cpp", "platform/headless/b.h",
         "platform/common may not include platform/headless/b.h"),
        ("platform/win32.h", "platform/sdl/b.h", "platform may not include platform/sdl/b.h"),
    ]

    def test_each_include_is_allowed_or_refused_with_its_place(self):
        for including, included, fault in self.CASES:
            with self.subTest(including=including, included=included):
                src = self.tree(
                    {including: f'// {including}\n#include "{included}"\n', included: ""}
                )
                expected = [f"src/{including}:2: {fault}"] if fault else []
                self.assertEqual(list(check_includes.include_faults(src)), expected)

    def test_a_folder_of_platform_without_rules_is_named(self):
        src = self.tree({"platform/sdl/a.h": "", "platform/extra/a.h": "", "core/a.h": ""})
        self.assertEqual(check_includes.unknown_folders(src), ["platform/extra"])


class NamespaceRule(TreeTest):
    # (what it shows, the file, its text, the lines reported)
    CASES = [
        ("inside its namespace", "core/a.h", "namespace core {\nint x;\n}  // namespace core\n",
         []),
        ("inside a sub-namespace", "core/sub/a.cpp", "namespace core::detail {\nint x;\n}\n", []),
        ("an anonymous namespace inside its namespace", "core/a.cpp",
         "namespace core {\nnamespace {\nint x;\n}  // namespace\n}  // namespace core\n", []),
        ("a global variable", "core/a.cpp", '#include "core/a.h"\n\nint g_x = 1;\n', [3]),
        ("an anonymous namespace at file scope", "core/a.cpp", "namespace {\nint x;\n}\n", [1]),
        ("another folder's namespace", "core/a.h", "namespace shell {\nint x;\n}\n", [1]),
        ("a namespace alias at file scope", "core/a.cpp", "namespace fs = std::filesystem;\n", [1]),
        ("a class, once for its whole body", "core/a.h", "struct A {\n  int x;\n};\n", [1]),
        ("two declarations after one another", "core/a.cpp", "void f() {}\nint g;\n", [1, 2]),
        (
            "comments, literals and preprocessor lines hide no braces",
            "core/a.cpp",
            "// namespace core {\n"
            "/* } */\n"
            "namespace core {\n"
            'const char* kOpen = "{ \\" }";\n'
            "const char kBrace = '}';\n"
            "const int kThousand = 1'000, kBrace = '}';\n"
            'const char* kRaw = R"x(" })x";\n'
            "#define OPEN {\n"
            "}  // namespace core\n"
            "int after;\n",
            [10],
        ),
        ("preprocessor lines and using namespace", "core/a.h",
         '#pragma once\n#include "core/b.h"\n#if X\n#endif\nusing namespace std::literals;\n', []),
        ("a C API's declarations", "core/a.h",
         'extern "C" {\nint c_function(void);\n}\nextern "C" int other(void);\n', []),
        ("the programs' main", "programs/a.cpp", "int main(int argc, char** argv) { return 0; }\n",
         []),
        ("main elsewhere", "core/a.cpp", "int main() { return 0; }\n", [1]),
        ("the Win32 subset's header", "platform/win32.h", WIN32_H, []),
        ("Win32 functions defined in platform", "platform/common/a.cpp",
         "BOOL ShowWindow(HWND hwnd, int cmd) {\n  return TRUE;\n}\n"
         "[[noreturn]] void ExitProcess(unsigned code) {\n  for (;;) {\n  }\n}\n", []),
        ("a Win32 function declared again in a platform header", "platform/common/a.h",
         "BOOL ShowWindow(HWND hwnd, int cmd);\n", [1]),
        ("a Win32 function defined outside platform", "core/a.cpp",
         "BOOL ShowWindow(HWND hwnd, int cmd) { return TRUE; }\n", [1]),
        ("a global helper beside the Win32 functions", "platform/common/a.cpp",
         "static int Helper() { return 1; }\nBOOL ShowWindow(HWND, int) { return Helper(); }\n",
         [1]),
        ("a using-declaration at file scope", "platform/common/a.cpp",
         "using platform::WindowRecord;\n", [1]),
        ("a static_assert beside the Win32 functions", "platform/common/a.cpp",
         "static_assert(sizeof(int) == 4);\n", [1]),
    ]

    def test_declarations_outside_their_folders_namespace_are_reported(self):
        for what, rel, text, lines in self.CASES:
            with self.subTest(what):
                src = self.tree({"platform/win32.h": WIN32_H, rel: text})
                folder = rel.split("/", 1)[0]
                expected = [f"src/{rel}:{n}: declaration outside namespace {folder}" for n in lines]
                self.assertEqual(list(check_includes.namespace_faults(src)), expected)

    def test_only_the_folders_named_are_read(self):
        src = self.tree({"core/a.cpp": "int x;\n", "text/a.cpp": "int y;\n"})
        self.assertEqual(
            list(check_includes.namespace_faults(src, {"text"})),
            ["src/text/a.cpp:1: declaration outside namespace text"],
        )


if __name__ == "__main__":
    unittest.main()
