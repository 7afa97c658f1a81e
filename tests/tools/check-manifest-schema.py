#!/usr/bin/env python3
"""The manifests' JSON Schema in docs/ is the one kpack makes from its table of
keys, and every manifest of the tree holds to it.

- `kpack schema` prints docs/manifest.schema.json byte for byte.
- Every manifest of the tree validates against that file: the *.toml and
  *.toml.in files (a line that is only a @placeholder@ left out), the ```toml
  blocks of the Markdown pages, and the heredocs the scripts write to a .toml
  file. A TOML document none of whose top keys is one of the manifest's is
  something else (a skin or icon description) and is passed over.
- The validation itself refuses a manifest with a misspelt key.
- docs/manifest.md names every key of the schema (as `key`).

Usage: check-manifest-schema.py KPACK ROOT
Prints every fault and exits 1 when there is one.
"""

import difflib
import json
import os
import re
import subprocess
import sys
import tomllib

import jsonschema

SKIPPED_FOLDERS = {"build", "node_modules"}
PLACEHOLDER_LINE = re.compile(r"^@\w+@\s*$", re.M)
TOML_BLOCK = re.compile(r"^```toml\n(.*?)^```", re.M | re.S)
HEREDOC = re.compile(r"\S+\.toml\"?\s*<<-?'?(\w+)'?\n(.*?)^\1$", re.M | re.S)


def documents(root):
    """(name, TOML text) of every TOML document in the tree."""
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = sorted(
            s for s in subfolders if not s.startswith(".") and s not in SKIPPED_FOLDERS
        )
        for file in sorted(files):
            path = os.path.join(folder, file)
            name = os.path.relpath(path, root)
            if file.endswith(".toml") or file.endswith(".toml.in"):
                with open(path, encoding="utf-8") as f:
                    yield name, PLACEHOLDER_LINE.sub("", f.read())
            elif file.endswith(".md") or file.endswith(".sh") or folder.endswith("scripts"):
                try:
                    with open(path, encoding="utf-8") as f:
                        text = f.read()
                except (UnicodeDecodeError, IsADirectoryError):
                    continue
                pattern = TOML_BLOCK if file.endswith(".md") else HEREDOC
                for n, match in enumerate(pattern.finditer(text)):
                    yield f"{name} (block {n})", match.groups()[-1]


def keys_of(schema):
    """Every key name of the schema's objects, nested ones included."""
    for name, value in schema.get("properties", {}).items():
        yield name
        yield from keys_of(value.get("items", value))


def main():
    kpack, root = sys.argv[1], sys.argv[2]
    faults = []

    checked_in_path = os.path.join(root, "docs", "manifest.schema.json")
    with open(checked_in_path, encoding="utf-8") as f:
        checked_in = f.read()
    made = subprocess.run([kpack, "schema"], capture_output=True, text=True, timeout=60, check=True)
    if made.stdout != checked_in:
        faults.append(
            "docs/manifest.schema.json is not what `kpack schema` makes from its table of keys; "
            "run `kpack schema > docs/manifest.schema.json`:\n"
            + "".join(
                difflib.unified_diff(
                    checked_in.splitlines(True), made.stdout.splitlines(True),
                    "docs/manifest.schema.json", "kpack schema",
                )
            )
        )

    schema = json.loads(checked_in)
    validator = jsonschema.Draft7Validator(schema)
    sections = set(schema["properties"])
    manifests = []
    for name, text in documents(root):
        try:
            document = tomllib.loads(text)
        except tomllib.TOMLDecodeError as e:
            faults.append(f"{name}: not TOML: {e}")
            continue
        if not sections.intersection(document):
            continue
        manifests.append(name)
        for error in validator.iter_errors(document):
            where = ".".join(str(p) for p in error.absolute_path) or "(top)"
            faults.append(f"{name}: {where}: {error.message}")

    # The check can fail: a key the table does not know is refused.
    if manifests:
        misspelt = tomllib.loads(dict(documents(root))[manifests[0]])
        misspelt["license"] = {"file": "LICENCE.txt"}
        if validator.is_valid(misspelt):
            faults.append("the schema accepts a manifest with the unknown key 'license'")
    with open(os.path.join(root, "docs", "manifest.md"), encoding="utf-8") as f:
        reference = f.read()
    for name in sorted(set(keys_of(schema))):
        if f"`{name}`" not in reference and f"[{name}]" not in reference:
            faults.append(f"docs/manifest.md does not describe the key `{name}`")
    if len(manifests) < 4:
        faults.append(f"found only {len(manifests)} manifests: {manifests}")

    for fault in faults:
        print(fault)
    print(f"{len(manifests)} manifests checked: {', '.join(manifests)}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
