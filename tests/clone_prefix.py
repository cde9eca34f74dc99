#!/usr/bin/env python3
"""Makes a Wine prefix as a copy of a pristine one that wineboot made.

Usage: clone_prefix.py TEMPLATE_PREFIX TEMPLATE_HOME PREFIX HOME

A prefix holds about 1.3 GB, nearly all of it program images (DLLs,
executables, drivers, NLS tables) that Wine only ever reads. Those are
hard-linked to the template's; everything else (the registry files, ini files,
logs) is copied, so a test gets a prefix of its own in a fraction of a second
and a few megabytes where wineboot takes about 18 s and 1.3 GB. The shell
folders that wineboot linked to the template's HOME (Desktop, Documents and the
rest) are linked into HOME instead.

The copy is made beside PREFIX and renamed into place, so an interrupted copy
never passes for a prefix.
"""
import os
import shutil
import sys

# Files Wine maps or reads but never writes back.
IMAGES = {".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".cpl", ".ax", ".ds", ".tlb", ".nls", ".vxd", ".com",
          ".msstyles", ".icm"}


def clone(template, template_home, prefix, home):
    template_home = os.path.realpath(template_home)
    partial = prefix + ".partial"
    shutil.rmtree(partial, ignore_errors=True)
    for folder, dirs, files in os.walk(template):
        rel = os.path.relpath(folder, template)
        target = os.path.normpath(os.path.join(partial, rel))
        os.makedirs(target, exist_ok=True)
        shutil.copystat(folder, target)
        for name in dirs + files:
            source = os.path.join(folder, name)
            copy = os.path.join(target, name)
            if os.path.islink(source):
                link = os.readlink(source)
                if os.path.isabs(link) and (link == template_home or link.startswith(template_home + os.sep)):
                    link = home + link[len(template_home):]
                    os.makedirs(link, exist_ok=True)
                os.symlink(link, copy)
                if name in dirs:
                    dirs.remove(name)  # a linked folder is not walked into
            elif name in files:
                if os.path.splitext(name)[1].lower() in IMAGES:
                    os.link(source, copy)
                else:
                    shutil.copy2(source, copy)
    shutil.rmtree(prefix, ignore_errors=True)
    os.rename(partial, prefix)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__.strip().splitlines()[2])
    template, template_home, prefix, home = (os.path.abspath(a) for a in sys.argv[1:])
    if not os.path.isfile(os.path.join(template, "system.reg")):
        sys.exit("clone_prefix.py: %s is no Wine prefix" % template)
    os.makedirs(home, exist_ok=True)
    clone(template, template_home, prefix, home)


if __name__ == "__main__":
    main()
