#!/usr/bin/env python3
"""Writes the release packages of Tovira from a Windows build folder.

    make_packages.py BUILD_DIR DIST_DIR

BUILD_DIR holds tovira.exe, tovira-tool.exe, Config, Langs (and pics when the
program ships pictures) and VERSION, as the Windows build leaves them. Into
DIST_DIR go:

- Tovira-<version>-portable.zip: the program folder "Tovira" with a start-up
  store that keeps the user's data inside it ("User"), so an unpacked copy
  needs nothing outside its folder;
- Tovira-<version>.msi: a per-user installer (no administrator rights) into
  the user's "Programs\\Tovira", with a Start-menu shortcut, built by wixl.

The MSI's component codes are derived from the files' paths, so a newer
version upgrades an older one in place and its components stay the same.
"""
import os
import shutil
import subprocess
import sys
import time
import uuid
import zipfile
from xml.sax.saxutils import quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)
# Never change: every version of the installer carries it, and Windows
# Installer finds the installed version to upgrade by it.
UPGRADE_CODE = "5B7C2E61-3D0A-4F8E-9A41-6C1D2B7E0F93"
# Component codes and the product code of one version come from these.
COMPONENT_NAMESPACE = uuid.UUID("0E3F8C54-7A12-4B6D-8E2A-91C4D5F60B17")
MANUFACTURER = "Brenvoll"
# The program folder's subfolders that ship, with the program's own files.
SHIPPED_DIRS = ["Config", "Langs", "pics"]
PROGRAMS = ["tovira.exe", "tovira-tool.exe"]
# What goes beside the programs from the repository (CRLF line ends).
TEXTS = [(os.path.join(HERE, "README.txt"), "README.txt"),
         (os.path.join(TOP, "LICENSE"), "LICENSE.txt"),
         (os.path.join(HERE, "THIRD-PARTY-NOTICES.txt"), "THIRD-PARTY-NOTICES.txt")]
PORTABLE_STORE = "[Avvio]\r\nUserDir=<APPDIR>\r\n"


def fail(message):
    sys.exit("make_packages: " + message)


def stage(build, folder):
    """Copies what the program folder holds into folder; returns its files."""
    if os.path.exists(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    for name in PROGRAMS:
        path = os.path.join(build, name)
        if not os.path.isfile(path):
            fail("no %s in %s: build the Windows build first" % (name, build))
        shutil.copy2(path, folder)
    for sub in SHIPPED_DIRS:
        src = os.path.join(build, sub)
        dst = os.path.join(folder, sub)
        if os.path.isdir(src):
            shutil.copytree(src, dst)
        else:
            os.makedirs(dst)
    # The folder of the start-up store (Config\Brenvoll\Tovira.ini), which the
    # program makes at every start: shipped, so the installer removes it too.
    os.makedirs(os.path.join(folder, "Config", "Brenvoll"), exist_ok=True)
    if not os.path.isfile(os.path.join(folder, "Config", "Settings.tpl")):
        fail("no Config\\Settings.tpl in " + build)
    if not any(n.lower().endswith(".lng") for n in os.listdir(os.path.join(folder, "Langs"))):
        fail("no language files in " + build)
    for src, name in TEXTS:
        with open(src, "rb") as f:
            text = f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        with open(os.path.join(folder, name), "wb") as f:
            f.write(text)


def tree(folder):
    """Relative paths of the folders and files under folder, sorted."""
    dirs, files = [], []
    for root, dnames, fnames in os.walk(folder):
        dnames.sort()
        rel = os.path.relpath(root, folder)
        if rel != ".":
            dirs.append(rel)
        files += [os.path.normpath(os.path.join(rel, n)) for n in sorted(fnames)]
    return dirs, files


def write_zip(folder, zip_path, top, extra):
    """The portable package: folder's tree under top, plus extra files."""
    dirs, files = tree(folder)
    stamp = time.localtime(int(os.environ.get("SOURCE_DATE_EPOCH", time.time())))[:6]
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        def add(name, data, is_dir=False):
            info = zipfile.ZipInfo(top + "/" + name.replace(os.sep, "/") + ("/" if is_dir else ""), stamp)
            info.create_system = 0  # MS-DOS attributes, as Windows' own archives have
            info.external_attr = 0x10 if is_dir else 0x20
            info.compress_type = zipfile.ZIP_STORED if is_dir else zipfile.ZIP_DEFLATED
            z.writestr(info, data)
        for d in dirs:
            add(d, b"", True)
        entries = {f: open(os.path.join(folder, f), "rb").read() for f in files}
        entries.update(extra)
        for name in sorted(entries):
            add(name, entries[name])


def ident(prefix, rel):
    """A WiX identifier for a path: letters, digits, dots and underscores."""
    clean = "".join(c if c.isalnum() and c.isascii() else "_" for c in rel)
    return (prefix + "_" + clean)[:60] + "_" + uuid.uuid5(COMPONENT_NAMESPACE, rel).hex[:8]


def guid(text):
    return str(uuid.uuid5(COMPONENT_NAMESPACE, text)).upper()


def write_wxs(folder, wxs_path, version):
    dirs, files = tree(folder)
    dir_ids = {".": "INSTALLDIR"}
    for d in dirs:
        dir_ids[d] = ident("Dir", d)
    reg_key = "Software\\Brenvoll\\Tovira\\Installer"
    out = []
    w = out.append
    w('<?xml version="1.0" encoding="utf-8"?>')
    w('<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">')
    w('  <Product Id="%s" Name="Tovira" Language="1033" Codepage="1252" Version="%s" Manufacturer="%s" UpgradeCode="%s">'
      % (guid("product " + version), version, MANUFACTURER, UPGRADE_CODE))
    w('    <Package Description="Tovira %s, launcher bar" Manufacturer="%s" InstallerVersion="500" Languages="1033"'
      ' Compressed="yes" SummaryCodepage="1252" InstallScope="perUser"/>' % (version, MANUFACTURER))
    w('    <Media Id="1" Cabinet="tovira.cab" EmbedCab="yes"/>')
    w('    <MajorUpgrade DowngradeErrorMessage="A newer version of Tovira is already installed."/>')
    # wixl takes source paths relative to the folder it runs in.
    w('    <Icon Id="tovira.ico" SourceFile="tovira.ico"/>')
    w('    <Property Id="ARPPRODUCTICON" Value="tovira.ico"/>')
    w('    <Property Id="ARPNOMODIFY" Value="1"/>')
    w('    <Property Id="ARPNOREPAIR" Value="1"/>')
    w('    <Property Id="ARPCOMMENTS" Value="A desktop launcher bar"/>')
    w('    <Directory Id="TARGETDIR" Name="SourceDir">')
    w('      <Directory Id="LocalAppDataFolder">')
    w('        <Directory Id="ProgramsDir" Name="Programs">')
    w('          <Directory Id="INSTALLDIR" Name="Tovira">')

    def emit_dirs(parent, depth):
        for d in dirs:
            if os.path.dirname(d) == (parent if parent != "." else ""):
                w("  " * depth + '<Directory Id="%s" Name=%s>' % (dir_ids[d], quoteattr(os.path.basename(d))))
                emit_dirs(d, depth + 1)
                w("  " * depth + "</Directory>")
    emit_dirs(".", 6)
    w('          </Directory>')
    w('        </Directory>')
    w('      </Directory>')
    w('      <Directory Id="ProgramMenuFolder"/>')
    w('    </Directory>')

    components = []

    def component(cid, directory, body, keyname):
        # A per-user component keeps its key path in the user's registry.
        components.append(cid)
        w('    <DirectoryRef Id="%s">' % directory)
        w('      <Component Id="%s" Guid="%s">' % (cid, guid("component " + cid)))
        for line in body:
            w("        " + line)
        w('        <RegistryValue Root="HKCU" Key="%s" Name="%s" Type="integer" Value="1" KeyPath="yes"/>'
          % (reg_key, keyname))
        w('      </Component>')
        w('    </DirectoryRef>')

    by_dir = {}
    for f in files:
        by_dir.setdefault(os.path.dirname(f) or ".", []).append(f)
    # The deepest folders first: Wine removes the folders in the order the
    # table lists them, and a folder goes only once it is empty.
    for d in sorted(dirs, key=lambda d: -d.count(os.sep)) + ["."]:
        body = []
        for f in by_dir.get(d, []):
            body.append('<File Id="%s" Name=%s Source=%s/>'
                        % (ident("File", f), quoteattr(os.path.basename(f)), quoteattr(os.path.join(os.path.basename(folder), f))))
        # Every folder is created and removed as a folder of its own (Wine
        # removes such folders last, children first, so the program folder
        # goes once the others have gone).
        body.append('<CreateFolder/>')
        body.append('<RemoveFolder Id="Remove_%s" On="uninstall"/>' % dir_ids[d])
        component(ident("Comp", d if d != "." else "ProgramFolder"), dir_ids[d], body, dir_ids[d])
    component("Comp_Programs", "ProgramsDir", ['<RemoveFolder Id="Remove_ProgramsDir" On="uninstall"/>'],
              "ProgramsDir")
    component("Comp_StartMenu", "ProgramMenuFolder",
              ['<Shortcut Id="StartMenuShortcut" Name="Tovira" Description="Tovira launcher bar"'
               ' Target="[INSTALLDIR]tovira.exe" WorkingDirectory="INSTALLDIR" Icon="tovira.ico"/>'],
              "StartMenuShortcut")
    w('    <Feature Id="Tovira" Title="Tovira" Level="1">')
    for c in components:
        w('      <ComponentRef Id="%s"/>' % c)
    w('    </Feature>')
    w('  </Product>')
    w('</Wix>')
    with open(wxs_path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


def main():
    if len(sys.argv) != 3:
        fail("usage: make_packages.py BUILD_DIR DIST_DIR")
    build, dist = (os.path.abspath(a) for a in sys.argv[1:])
    try:
        version = open(os.path.join(build, "VERSION")).read().strip()
    except OSError:
        fail("no VERSION in %s: configure the Windows build first" % build)
    os.makedirs(dist, exist_ok=True)
    work = os.path.join(build, "package")
    folder = os.path.join(work, "Tovira")
    stage(build, folder)

    portable = os.path.join(dist, "Tovira-%s-portable.zip" % version)
    write_zip(folder, portable, "Tovira", {os.path.join("Config", "Brenvoll", "Tovira.ini"): PORTABLE_STORE.encode()})

    wxs = os.path.join(work, "Tovira.wxs")
    msi = os.path.join(dist, "Tovira-%s.msi" % version)
    write_wxs(folder, wxs, version)
    shutil.copy2(os.path.join(TOP, "platform", "win32", "res", "tovira.ico"), work)
    if os.path.exists(msi):
        os.remove(msi)
    subprocess.run(["wixl", "-a", "x64", "-o", msi, os.path.basename(wxs)], check=True, cwd=work)
    for path in (portable, msi):
        print("%s  %d bytes" % (os.path.relpath(path, TOP), os.path.getsize(path)))


if __name__ == "__main__":
    main()
