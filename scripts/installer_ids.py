#!/usr/bin/env python3
"""Helpers of scripts/release.sh for the Windows Installer packages.

    installer_ids.py guids ARCH < in.wxs > out.wxs
        Gives every component a GUID of its own architecture: a fixed GUID
        of the source becomes a name-based one of (ARCH, that GUID), and
        wixl-heat's Guid="*" one of (ARCH, the file's source path). The x86
        and x64 packages then share no component, as Windows Installer
        requires of components of different bitness.

    installer_ids.py version FILE
        Prints the file version of a Windows binary (its VS_FIXEDFILEINFO),
        e.g. 3.0.1.0, for the installer's File table: wixl leaves it empty,
        and Windows Installer then treats the program as an unversioned file.
"""
import re
import struct
import sys
import uuid

NAMESPACE = uuid.UUID('8d3c6a52-2f0e-4b7e-9c61-5a1e0f4b7d23')  # the Tavrolinex packages' own


def guids(arch):
    text = sys.stdin.read()

    def fixed(match):
        return 'Guid="%s"' % str(uuid.uuid5(NAMESPACE, arch + ':' + match.group(1).upper())).upper()

    text = re.sub(r'Guid="([0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})"', fixed, text)

    def by_source(match):
        component = match.group(0)
        source = re.search(r'Source="([^"]+)"', component)
        if not source:
            sys.exit('installer_ids.py: a component with Guid="*" names no file')
        guid = str(uuid.uuid5(NAMESPACE, arch + ':' + source.group(1))).upper()
        return component.replace('Guid="*"', 'Guid="%s"' % guid, 1)

    text = re.sub(r'<Component\b[^>]*Guid="\*"[^>]*>.*?</Component>', by_source, text, flags=re.S)
    sys.stdout.write(text)


def version(path):
    with open(path, 'rb') as f:
        data = f.read()
    at = data.find(struct.pack('<I', 0xFEEF04BD))
    if at < 0:
        sys.exit('installer_ids.py: %s has no version resource' % path)
    ms, ls = struct.unpack_from('<II', data, at + 8)
    print('%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))


if __name__ == '__main__':
    if len(sys.argv) == 3 and sys.argv[1] == 'guids':
        guids(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == 'version':
        version(sys.argv[2])
    else:
        sys.exit(__doc__)
