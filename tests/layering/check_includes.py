#!/usr/bin/env python3
"""Checks the shape of src/: includes point down the layers, and code sits in its folder's
namespace.

Includes: every folder of src/ is a layer or sits beside them; a file may include headers of
its own folder and of the folders listed for it below, nothing else of src/. Inside platform/
the folders have rules of their own (PLATFORM_FOLDER_USERS): the backends never include one
another, nobody outside platform/ includes its common/ code, and outside platform/
only the programs and the harness include a backend. Includes of system and library headers
(<...>, or "..." paths that name no folder of src/) are not checked.

Namespaces: a declaration in src/X/ at file scope lies inside `namespace X {` or
`namespace X::sub {`; an anonymous namespace outside them is outside X. Preprocessor lines, `using namespace`, `extern "C"` and `main` in the
programs are exempt, and so is the Win32 subset, which is global as on Windows: what
src/platform/win32.h declares, and the definitions of those names in platform's .cpp files.

Usage: check_includes.py SRC_DIR                            (the include rules)
       check_includes.py --namespaces SRC_DIR [FOLDER...]   (the namespace rule; all folders
                                                             of SRC_DIR when none is named)
Exit status 1 and one line per fault.
"""
import pathlib
import re
import sys

GAME = ["platform", "core", "resources", "sound", "visuals", "text", "scenario", "flow"]

# What each folder may include besides itself, bottom up.
ALLOWED = {
    "platform": [],
    "core": ["platform"],
    "resources": ["platform", "core"],
    "sound": ["platform", "core", "resources"],
    "visuals": ["platform", "core", "resources"],
    "text": ["platform", "core", "resources", "visuals"],
    "scenario": ["platform", "core", "resources", "sound", "visuals", "text"],
    "flow": ["platform", "core", "resources", "sound", "visuals", "text", "scenario"],
    # The shell starts the program and wires the layers together.
    "shell": GAME,
    # The encoders and builders of the tools know the data formats and the code tables.
    "authoring": ["platform", "core", "resources"],
    # The in-process harness starts the whole game for tests, fuzzers, benchmarks and tools.
    "harness": GAME + ["shell"],
    # The program entries start the game on a backend: above everything.
    "programs": GAME + ["shell"],
}

# The backends of platform/, side by side: each implements backend.h on its own.
BACKENDS = ["headless", "sdl", "web"]

# Who may include each folder of src/platform/. A place is "platform" (its top-level headers),
# "platform/FOLDER" inside it, or a folder of src/ outside it. Everyone may include the
# top-level headers of platform/, its public face.
PLATFORM_FOLDER_USERS = {
    # The implementation of the Win32 subset that the backends share.
    "common": ["platform", "platform/common"] + [f"platform/{b}" for b in BACKENDS],
}
for backend in BACKENDS:
    # A program starts the game on its backend; the harness runs the headless one.
    PLATFORM_FOLDER_USERS[backend] = [f"platform/{backend}", "programs", "harness"]


INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]+"([^"]+)"', re.MULTILINE)


def sources(src: pathlib.Path, folders=None):
    """The .h and .cpp files inside the folders of src/ (all, or those named), sorted."""
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        rel = path.relative_to(src).as_posix()
        if "/" in rel and (folders is None or rel.split("/", 1)[0] in folders):
            yield path, rel


def place_of(rel: str) -> str:
    """Where a file of src/ sits for the include rules: its folder, or platform's sub-folder."""
    parts = rel.split("/")
    if parts[0] == "platform" and len(parts) > 2:
        return f"platform/{parts[1]}"
    return parts[0]


def include_faults(src: pathlib.Path):
    folders = {p.name for p in src.iterdir() if p.is_dir()}
    for path, rel in sources(src):
        layer = rel.split("/", 1)[0]
        place = place_of(rel)
        allowed = set(ALLOWED.get(layer, [])) | {layer}
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            included = match.group(1)
            parts = included.split("/")
            if len(parts) < 2 or parts[0] not in folders:
                continue
            line = text.count("\n", 0, match.start()) + 1
            if parts[0] not in allowed:
                yield f"src/{rel}:{line}: {layer} may not include {included}"
            elif parts[0] == "platform" and len(parts) > 2:
                users = PLATFORM_FOLDER_USERS.get(parts[1], [])
                if place not in users:
                    yield f"src/{rel}:{line}: {place} may not include {included}"


# ---------------------------------------------------------------------------------------
# Namespaces
# ---------------------------------------------------------------------------------------

# What the brace scanner does not read: comments, preprocessor lines (with their
# continuations), string and character literals. A quote after a digit of a number is a digit
# separator.
NOT_CODE = re.compile(
    r"""
      //[^\n]*
    | /\*.*?\*/
    | ^[ \t]*\#(?:\\\n|[^\n])*
    | (?<!\w)(?:u8|[uUL])?R"(?P<delimiter>[^()\\\s]{0,16})\(.*?\)(?P=delimiter)"
    | "(?:\\.|[^"\\\n])*"
    | (?<![\w.])\.?\d(?:'?[\w.]|[eEpP][+-])*
    | '(?:\\.|[^'\\\n])*'
    """,
    re.VERBOSE | re.MULTILINE | re.DOTALL,
)


def blank_out(text: str) -> str:
    """The text with everything NOT_CODE matches turned to spaces, newlines kept: offsets and
    line numbers stay those of the file."""
    return NOT_CODE.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


def file_scope_statements(text: str):
    """(offset, head, opens) for each statement at file scope: its text up to the `;` that ends
    it or the `{` that opens its body (opens is then True). What lies inside braces is not
    read further, apart from matching them."""
    code = blank_out(text)
    depth = 0
    start = 0
    for i, c in enumerate(code):
        if c == "{":
            if depth == 0:
                yield start, code[start:i], True
            depth += 1
        elif c == "}":
            depth = max(depth - 1, 0)
            if depth == 0:
                start = i + 1
        elif c == ";" and depth == 0:
            yield start, code[start:i], False
            start = i + 1


def declared_name(head: str) -> str:
    """The name a declaration declares, enough to know the Win32 subset and `main`: the type of
    a `using`, `struct`, `class`, `union` or `enum`, else the last name before the first `(`,
    `=`, `[` or `{`, with its qualification."""
    head = re.sub(r"\[\[.*?\]\]", " ", head)  # attributes
    alias = re.match(r"\s*using\s+(\w+)\s*=", head)
    if alias:
        return alias.group(1)
    type_name = re.match(
        r"\s*(?:struct|class|union|enum(?:\s+class|\s+struct)?)\s+(\w+)\s*(?:final\b|:(?!:)|$)",
        head,
    )
    if type_name:
        return type_name.group(1)
    before = re.split(r"[(=\[{]", head, maxsplit=1)[0]
    names = re.findall(r"(?:::)?\w+(?:\s*::\s*\w+)*", before)
    return re.sub(r"\s+", "", names[-1]).lstrip(":") if names else ""


NAMESPACE = re.compile(r"\s*(?:inline\s+)?namespace\s*([\w:\s]*)")


def win32_subset(src: pathlib.Path):
    """The names src/platform/win32.h declares at file scope."""
    path = src / "platform" / "win32.h"
    if not path.is_file():
        return set()
    names = {declared_name(head) for _, head, _ in file_scope_statements(path.read_text())}
    return names - {"", "static_assert"}


def namespace_faults(src: pathlib.Path, folders=None):
    win32_names = win32_subset(src)
    for path, rel in sources(src, folders):
        folder = rel.split("/", 1)[0]
        if rel == "platform/win32.h":
            continue
        # The Win32 functions are defined in platform's .cpp files, and declared nowhere else.
        global_names = win32_names if folder == "platform" and path.suffix == ".cpp" else set()
        text = path.read_text(encoding="utf-8", errors="replace")
        for offset, head, opens in file_scope_statements(text):
            first = offset + len(head) - len(head.lstrip())
            words = text[first : offset + len(head)]  # the statement as written, "C" and all
            namespace = NAMESPACE.fullmatch(head)
            if opens and namespace:
                if namespace.group(1).split("::")[0].strip() == folder:
                    continue
            else:
                name = declared_name(head)
                if (
                    not name  # nothing, or what follows a body: `;`, `)`
                    or re.match(r"using\s+namespace\b", words)
                    or re.match(r'extern\s*"C"', words)
                    or (folder == "programs" and name == "main")
                    or name in global_names
                ):
                    continue
            line = text.count("\n", 0, first) + 1
            yield f"src/{rel}:{line}: declaration outside namespace {folder}"


def unknown_folders(src: pathlib.Path):
    """Folders of src/ and of src/platform/ that the include rules know nothing of."""
    unknown = [p.name for p in src.iterdir() if p.is_dir() and p.name not in ALLOWED]
    platform = src / "platform"
    if platform.is_dir():
        unknown += [
            f"platform/{p.name}"
            for p in platform.iterdir()
            if p.is_dir() and p.name not in PLATFORM_FOLDER_USERS
        ]
    return sorted(unknown)


def main() -> int:
    args = sys.argv[1:]
    check_namespaces = bool(args) and args[0] == "--namespaces"
    if check_namespaces:
        args = args[1:]
    if not args or (len(args) != 1 and not check_namespaces):
        print(__doc__[__doc__.index("Usage:") :].strip(), file=sys.stderr)
        return 2
    src = pathlib.Path(args[0])
    if check_namespaces:
        faults = list(namespace_faults(src, set(args[1:]) or None))
    else:
        unknown = unknown_folders(src)
        if unknown:
            print(f"folders of src/ with no place in the layers: {', '.join(unknown)}")
            return 1
        faults = list(include_faults(src))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
