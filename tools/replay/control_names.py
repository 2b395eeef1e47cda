#!/usr/bin/env python3
"""Writes the replay tool's table of control and command names from the program's headers.

usage: control_names.py OUTPUT HEADER...

Every `enum <Dialog>Control : int` gives its members as `<Dialog>.<Name>` (kRegisterTimeOk is
RegisterTime.Ok); an `enum <Group>ControlOffset : int` numbers the controls of every
`k<Dialog>First` of its header (ExportRecords.Name); `enum Command : int` gives the menu
commands and buttons under their own names less the k (CmdNew, ButtonUndo). The table names
the constants themselves, so the compiler supplies every number.
"""
import re
import sys

ENUM = re.compile(r"enum\s+(\w+)\s*:\s*int\s*\{(.*?)\};", re.S)
MEMBER = re.compile(r"^\s*(k\w+)\s*=", re.M)
FIRST = re.compile(r"constexpr\s+int\s+k(\w+)First\s*=")


def without_comments(text):
    return re.sub(r"//[^\n]*", "", text)


def short(member, prefix):
    rest = member[1:]
    return rest[len(prefix):] if rest.startswith(prefix) and len(rest) > len(prefix) else rest


def main():
    output, headers = sys.argv[1], sys.argv[2:]
    controls, commands, used = [], [], []
    for header in headers:
        with open(header, encoding="utf-8") as f:
            text = without_comments(f.read())
        found = len(controls) + len(commands)
        for name, body in ENUM.findall(text):
            members = MEMBER.findall(body)
            if name == "Command":
                commands += [(m[1:], m) for m in members]
            elif name.endswith("ControlOffset"):
                group = name[: -len("ControlOffset")]
                for dialog in FIRST.findall(text):
                    controls += [(f"{dialog}.{short(m, group)}", f"k{dialog}First + {m}")
                                 for m in members]
            elif name.endswith("Control"):
                dialog = name[: -len("Control")]
                controls += [(f"{dialog}.{short(m, dialog)}", m) for m in members]
        if len(controls) + len(commands) > found:
            used.append(header)
    for table in (controls, commands):
        names = [n for n, _ in table]
        twice = sorted({n for n in names if names.count(n) > 1})
        if twice or not table:
            sys.exit(f"control_names.py: names given twice or none found: {twice}")
    lines = ["// Made by tools/replay/control_names.py from the headers below; do not edit."]
    lines += [f'#include "{h[h.index("src/") + 4:]}"' for h in used]
    lines += ["", "namespace qv::replay {", "", "constexpr NamedId kControlNames[] = {"]
    lines += [f'    {{"{n}", {v}}},' for n, v in sorted(controls)]
    lines += ["};", "", "constexpr NamedId kCommandNames[] = {"]
    lines += [f'    {{"{n}", {v}}},' for n, v in sorted(commands)]
    lines += ["};", "", "}  // namespace qv::replay", ""]
    text = "\n".join(lines)
    try:
        with open(output, encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
