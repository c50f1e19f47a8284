#!/usr/bin/env python3
"""Checks that state lives only at the top: the layers below the window and
the tool hold no mutable global, and the tool uses nothing of the window.

A mutable global is a variable that is not const (nor constexpr) and lives
for the whole process: declared at namespace scope (static, extern, in an
anonymous namespace or not), a static data member of a class, or a static
local of a function. storage/, lookup/, maintenance/ and settings/ may
hold none: every rule takes what it works on as a parameter, and the
window's records live in ui/ and platform/. tools/ includes nothing of ui/. Exits 1 and names every
breach.

    python3 scripts/check_state.py [REPOSITORY]
"""
import os
import re
import sys

sys.dont_write_bytecode = True   # nothing written beside the sources
from check_layers import report  # noqa: E402

STATELESS = ("storage", "lookup", "maintenance", "settings")
SOURCE = re.compile(r"\.(cpp|h)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
TOKEN = re.compile(r"[A-Za-z_]\w*|\d[\w.']*|::|->|[{}()\[\];,=<>*&:~]|\S")
# Words that make a declaration something other than a variable.
NOT_VARIABLES = {"using", "typedef", "namespace", "friend", "static_assert", "enum", "template", "operator",
                 "return", "goto", "break", "continue", "case", "default", "delete", "throw"}
CLASS_KEYS = {"class", "struct", "union"}
CONTROL = {"if", "for", "while", "switch", "do", "else", "try", "catch"}


def strip(text):
    """The code without comments, string and character literals, and
    preprocessor lines (their contents become blanks)."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            end = n if j < 0 else j + 2
            out.append(" " + "\n" * text.count("\n", i, end))   # lines keep their numbers
            i = end
        elif c == '"' and text[max(0, i - 1)] == "R" and text.startswith('"', i):
            # A raw string: R"delimiter( ... )delimiter"
            open_paren = text.find("(", i)
            delimiter = text[i + 1:open_paren]
            j = text.find(")" + delimiter + '"', open_paren)
            i = n if j < 0 else j + len(delimiter) + 2
            out.append('""')
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            i = j + 1
            out.append('""' if c == '"' else "' '")
        elif c == "#" and (i == 0 or text[:i].rstrip(" \t").endswith("\n") or text[:i].strip() == ""):
            j = i
            while True:
                k = text.find("\n", j)
                if k < 0 or text[k - 1] != "\\":
                    break
                j = k + 1
            i = n if k < 0 else k
        else:
            out.append(c)
            i += 1
    return "".join(out)


def top_level(tokens):
    """The tokens outside (), [] and <> (as far as a template's brackets can
    be told from comparisons: a declaration holds no comparison)."""
    depth, out = 0, []
    for t in tokens:
        if t in "([<":
            depth += 1
        elif t in ")]>" and depth:
            depth -= 1
        elif depth == 0:
            out.append(t)
    return out


def is_function(statement):
    """A declaration of a function: its first parenthesis outside template
    arguments follows its name and opens the parameters (decltype(...) is
    part of a type, and (*name) declares a pointer to a function)."""
    words = collapsed(statement)
    for k, t in enumerate(words):
        if t in ("=", "{"):
            return False
        if t == "(":
            return not (k + 1 < len(words) and words[k + 1] in ("*", "&"))
    return False


def collapsed(statement):
    """The statement with template arguments and decltype(...) groups as
    one word each: what is left of a declaration is its own syntax."""
    out, k = [], 0
    while k < len(statement):
        t = statement[k]
        if t == "<" or (t in ("decltype", "alignas") and k + 1 < len(statement) and statement[k + 1] == "("):
            opening, closing = ("<", ">") if t == "<" else ("(", ")")
            if t != "<":
                k += 1
            depth = 0
            while k < len(statement):
                depth += 1 if statement[k] == opening else -1 if statement[k] == closing else 0
                if depth == 0:
                    break
                k += 1
            out.append("__type__")
        else:
            out.append(t)
        k += 1
    return out


def declared_variable(statement, in_class):
    """The name of the mutable variable a statement (without its ';')
    declares, or None."""
    if not statement or statement[0] in NOT_VARIABLES or "constexpr" in statement:
        return None
    if in_class and "static" not in statement:
        return None
    words = collapsed(statement)
    # The declarator ends where its initializer begins.
    end = len(words)
    for k, t in enumerate(words):
        if t in ("=", "{") or (t == "(" and k + 1 < len(words) and words[k + 1] not in ("*", "&")):
            end = k
            break
    head = words[:end]
    if end < len(words) and words[end] == "(":
        # name(...): a function, unless a pointer to one came before.
        if not any(head[k] == "(" and head[k + 1] in ("*", "&") for k in range(len(head) - 1)):
            return None
    # A pointer to a function: its name stands in parentheses after '*'.
    for k in range(len(head) - 2):
        if head[k] == "(" and head[k + 1] in ("*", "&") and re.match(r"[A-Za-z_]\w*$", head[k + 2]):
            return None if "const" in head[k + 1:k + 4] else head[k + 2]
    names = [t for t in top_level(head) if re.match(r"[A-Za-z_]\w*$", t)]
    if not names:
        return None
    name = names[-1]
    if name in ("const", "static", "extern", "inline", "thread_local", "mutable", "volatile", "__body__",
                "__type__"):
        return None
    before = top_level(head)
    at = len(before) - 1 - before[::-1].index(name)
    declarator = before[:at]
    # const applies to what stands after the last '*': "const char* p" is a
    # pointer that may change, "const char* const p" is not.
    last_pointer = max((k for k, t in enumerate(declarator) if t == "*"), default=-1)
    if "const" in declarator[last_pointer + 1:]:
        return None
    if last_pointer < 0 and "const" in declarator:
        return None
    if "&" in declarator and last_pointer < 0:
        return None   # a reference cannot be made to refer elsewhere
    return name


def mutable_globals(text):
    """(line, kind, name) of each mutable global of a file."""
    code = strip(text)
    tokens, lines = [], []
    for match in TOKEN.finditer(code):
        tokens.append(match.group())
        lines.append(code.count("\n", 0, match.start()) + 1)
    found = []
    # Each open brace: its kind ("namespace", "class", "function", or
    # "block", a brace that opens no scope: an initializer, an enum's list)
    # and the statement that stood before it.
    scopes = [("namespace", [], None)]
    statement, start = [], None

    def check(where, words, line):
        if where == "namespace":
            name = declared_variable(words, False)
            if name:
                found.append((line, "namespace-scope", name))
        elif where == "class" and "static" in words:
            name = declared_variable(words, True)
            if name:
                found.append((line, "static member", name))
        elif where == "function" and ("static" in words[:2]):
            name = declared_variable(words, False)
            if name:
                found.append((line, "function-local static", name))

    for k, t in enumerate(tokens):
        scope = scopes[-1][0]
        if scope == "block":
            if t == "{":
                scopes.append(("block", [], None))
            elif t == "}":
                scopes.pop()
            continue
        if t == "{":
            head = top_level(statement)
            if scope == "function":
                # A nested block, a lambda's body ("](...) {", "] {") or a
                # braced initializer of a local.
                if not statement or statement[0] in CONTROL or statement[-1] in (")", "]", "mutable"):
                    kind = "function"
                else:
                    kind = "block"
            elif statement and (statement[0] == "namespace" or statement[:2] == ["extern", '""']):
                kind = "namespace"
            elif "enum" in statement[:3]:
                kind = "block"
            elif statement and is_function(statement):
                kind = "function"   # default arguments may hold '='
            elif "=" in statement or (statement and statement[-1] in ("]", ",")):
                kind = "block"
            elif any(w in CLASS_KEYS for w in head):
                kind = "class"
            elif not statement:
                kind = "block"
            else:
                kind = "block"   # a variable's brace initializer
            if kind == "block":
                scopes.append(("block", [], None))
                statement.append("{}")
                if start is None:
                    start = k
            else:
                scopes.append((kind, statement, start))
                statement, start = [], None
            continue
        if t == "}":
            closed, before, before_start = scopes.pop() if len(scopes) > 1 else ("namespace", [], None)
            statement, start = [], None
            if closed == "class":
                # "struct {...} name;" declares a variable of the class.
                statement, start = before + ["__body__"], before_start
            continue
        if t == ";":
            if statement:
                check(scope, statement, lines[start])
            statement, start = [], None
            continue
        if scope in ("class", "function") and t == ":" and statement in (
                ["public"], ["private"], ["protected"], ["default"]):
            statement, start = [], None
            continue
        if scope == "function" and t == ":" and len(statement) >= 1 and statement[0] == "case":
            statement, start = [], None
            continue
        if scope == "function" and t in CONTROL and not statement:
            statement.append(t)
            if start is None:
                start = k
            continue
        if start is None:
            start = k
        statement.append(t)
    return found


# What the reading of declarations must find (and leave alone), checked on
# every run so that a change of the reader cannot quietly pass globals.
SELF_TEST = r"""
int g_plain; static const char* g_pointer = "x"; const char* const kFixed[] = {"a"}; constexpr int kSize = 3;
extern int g_declared; extern const char kName[]; std::function<void()> g_callback; int (*g_function)(int);
decltype(&Fun) g_entry = nullptr; static const struct { int id; } kTable[] = {{1}}; struct { bool on; } g_record;
namespace { std::vector<int> g_list; const std::string kText = "a"; }
struct Holder { int field; static int g_member; static const int kLimit = 2; void Method(); };
void Declared(int x = 0); bool Compare(int a) { return a < 1 && 2 > a; }
int Counted(bool more = false) { static int g_local = 0; static const char kLocal[] = "y";
    if (more) { static bool g_nested; } auto call = [] { static int g_lambda; return 0; }; return g_local; }
"""
SELF_TEST_FINDS = {"g_plain", "g_pointer", "g_declared", "g_callback", "g_function", "g_entry", "g_record",
                   "g_list", "g_member", "g_local", "g_nested", "g_lambda"}


def main():
    found = {name for _, _, name in mutable_globals(SELF_TEST)}
    if found != SELF_TEST_FINDS:
        print(f"the check misreads declarations: missed {sorted(SELF_TEST_FINDS - found)}, "
              f"wrongly found {sorted(found - SELF_TEST_FINDS)}")
        return 1
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    breaches = []
    checked = 0
    for folder in STATELESS + ("tools",):
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not SOURCE.search(name):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                if folder == "tools":
                    for target in INCLUDE.findall(text):
                        if target.startswith("ui/"):
                            breaches.append(f"{rel} includes {target}: the tool uses nothing of the window")
                    continue
                checked += 1
                for line, kind, variable in mutable_globals(text):
                    breaches.append(f"{rel}:{line}: {kind} '{variable}' is mutable state below the top")
    return report(breaches, "of state only at the top: state belongs to values the window or the tool owns",
                  f"no mutable globals in {checked} files of {', '.join(STATELESS)}; tools/ uses nothing of ui/")


if __name__ == "__main__":
    sys.exit(main())
