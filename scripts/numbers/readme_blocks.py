"""Blocks of a Markdown file that a script owns: everything between
`<!-- numbers:NAME -->` and `<!-- /numbers -->` is replaced, every other byte
stays as it was."""

import re

_BEGIN = re.compile(r"^<!-- numbers:([\w-]+) -->$")
_END = "<!-- /numbers -->"


def splice(text, blocks):
    """Returns `text` with each block's content replaced by blocks[NAME], and
    the names it replaced. A block no entry is given for, an unclosed block or
    a block inside a block raises ValueError: the script and the file disagree,
    and guessing would leave stale figures or eat prose."""
    out, inside, replaced = [], None, []
    for number, line in enumerate(text.splitlines(keepends=True), 1):
        bare = line.rstrip("\r\n")
        begin = _BEGIN.match(bare)
        if begin:
            if inside:
                raise ValueError(f"line {number}: block '{begin[1]}' opens inside block '{inside}'")
            inside = begin[1]
            if inside not in blocks:
                raise ValueError(f"line {number}: no script makes the block '{inside}'")
            out.append(line)
            content = blocks[inside].strip("\n")
            if content:
                out.append("\n" + content + "\n\n")
            replaced.append(inside)
        elif bare == _END:
            if not inside:
                raise ValueError(f"line {number}: {_END} closes no block")
            inside = None
            out.append(line)
        elif not inside:
            out.append(line)
    if inside:
        raise ValueError(f"block '{inside}' is never closed with {_END}")
    return "".join(out), replaced
