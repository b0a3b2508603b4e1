#!/usr/bin/env python3
"""Checks that every source under src/<folder>/ includes headers only of the
folders that <folder> may use: itself and its DEPENDS closure, as
vor_write_layer_map (cmake/VorTargets.cmake) wrote them into the layer map.
Folders without a library of their own (the programs) are not checked.

    check-layers.py <layer map> <source root>   list what breaks the layers; fails when anything does
    check-layers.py --self-test                 shows that the check catches a bad include
"""
import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([A-Za-z0-9_]+)/([^">]+)[">]')
SOURCE_SUFFIXES = (".h", ".cpp")


def read_layer_map(path):
    layers = {}
    with open(path) as lines:
        for line in lines:
            folder, _, closure = line.partition(":")
            if folder.strip():
                layers[folder.strip()] = set(closure.split())
    return layers


def violations(layers, source_root):
    """(file, line number, included header, folder) of every include that
    reaches outside its folder's closure."""
    folders = {name for name in os.listdir(source_root) if os.path.isdir(os.path.join(source_root, name))}
    found = []
    for folder in sorted(folders & layers.keys()):
        for directory, _, names in os.walk(os.path.join(source_root, folder)):
            for name in sorted(names):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(directory, name)
                with open(path, errors="replace") as source:
                    for number, text in enumerate(source, 1):
                        match = INCLUDE.match(text)
                        if match and match.group(1) in folders and match.group(1) not in layers[folder]:
                            found.append((path, number, f"{match.group(1)}/{match.group(2)}", folder))
    return found


def check(layer_map, source_root):
    layers = read_layer_map(layer_map)
    found = violations(layers, source_root)
    for path, number, header, folder in found:
        allowed = " ".join(sorted(layers[folder] - {folder})) or "nothing"
        print(f"{os.path.relpath(path)}:{number}: includes {header}, but {folder} depends only on {allowed}")
    return 0 if not found else 1


def self_test():
    """A tree of two layers, low and high (high depends on low), with one
    include going the wrong way: the check must name that one and no other."""
    with tempfile.TemporaryDirectory() as root:
        source_root = os.path.join(root, "src")
        files = {
            "low/Value.h": "#pragma once\n",
            "low/Value.cpp": '#include "low/Value.h"\n#include <vector>\n',
            "high/User.h": '#pragma once\n#include "low/Value.h"\n',
            "low/Bad.cpp": '#include "low/Value.h"\n// #include "high/User.h" in a comment is no include\n'
                           '#include "high/User.h"\n',
            "programs/Main.cpp": '#include "high/User.h"\n',
        }
        for name, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(source_root, name)), exist_ok=True)
            with open(os.path.join(source_root, name), "w") as out:
                out.write(text)
        layer_map = os.path.join(root, "layers.txt")
        with open(layer_map, "w") as out:
            out.write("low: low\nhigh: high low\n")
        found = violations(read_layer_map(layer_map), source_root)
        expected = [(os.path.join(source_root, "low/Bad.cpp"), 3, "high/User.h", "low")]
        if found != expected:
            print(f"check-layers: self-test failed: found {found}, expected {expected}")
            return 1
        os.remove(os.path.join(source_root, "low/Bad.cpp"))
        if violations(read_layer_map(layer_map), source_root):
            print("check-layers: self-test failed: a tree that keeps its layers was refused")
            return 1
    print("check-layers: self-test passed")
    return 0


if __name__ == "__main__":
    if sys.argv[1:] == ["--self-test"]:
        sys.exit(self_test())
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(check(sys.argv[1], sys.argv[2]))
