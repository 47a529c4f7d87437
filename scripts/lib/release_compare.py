#!/usr/bin/env python3
"""Compares a release with the one rebuilt from its commit (scripts/verify-release).

  release_compare.py ZIP REBUILT_ZIP SBOM REBUILT_SBOM [MSI REBUILT_MSI]

Every file is compared byte for byte, with one exception: a signature, which holds
the signer's key and time and cannot be made again. A signed program (PE) is
compared with its certificate table entry, its checksum field, the appended
certificate data and the zero padding before it (to 8 bytes) taken out. What the
signature changes elsewhere is checked against the release's own files instead
of the rebuild's: the hashes of signed files in SHA256SUMS and in the SBOM, the
zip's hash and verification code in the SBOM, the signed files' sizes (File) and
hashes (MsiFileHash) in the installer's tables. Of the installer are compared: the
files it installs (msiextract), every table (msidump), the summary information among
them but for the package code, which is derived from the files and so from their
signatures, and every stream but the signature's and the cabinets' (whose files are
compared).

Prints "identical but for the signature: N files (K signed)" and exits 0, or
names the first file that differs, with the offset where one can be given, and
exits 1.
"""
import hashlib
import json
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

SIGNATURE_STREAMS = {"\x05DigitalSignature", "\x05MsiDigitalSignatureEx"}


class Differs(Exception):
    pass


def pe_fields(data):
    """Offsets of the checksum and of the certificate table entry, or None when data is no PE image."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = {0x10B: 96, 0x20B: 112}.get(magic)
    if directories is None or struct.unpack_from("<I", data, optional + directories - 4)[0] <= 4:
        return None
    return optional + 64, optional + directories + 4 * 8


def unsigned_image(data):
    """data without its signature: (bytes, signed). The fields keep their offsets."""
    fields = pe_fields(data)
    if fields is None:
        return data, False
    checksum, certificates = fields
    offset, size = struct.unpack_from("<II", data, certificates)
    image = bytearray(data)
    image[checksum:checksum + 4] = bytes(4)
    image[certificates:certificates + 8] = bytes(8)
    # The certificate data is the last thing in a signed image; anything after it would be compared.
    if offset and offset + size == len(data):
        del image[offset:]
    return bytes(image), bool(offset)


def first_difference(a, b):
    n = min(len(a), len(b))
    for start in range(0, n, 1 << 16):
        if a[start:start + (1 << 16)] != b[start:start + (1 << 16)]:
            return next(i for i in range(start, min(start + (1 << 16), n)) if a[i] != b[i])
    return None if len(a) == len(b) else n


def compare_bytes(name, released, rebuilt):
    """Returns whether the release's file is signed; raises Differs with the first offset."""
    a, signed = unsigned_image(released)
    b, _ = unsigned_image(rebuilt)
    if signed and len(a) > len(b) and len(a) - len(b) < 8 and len(a) % 8 == 0 and not a[len(b):].strip(b"\0"):
        a = a[:len(b)]  # the zero padding that the signer put before the certificates
    at = first_difference(a, b)
    if at is not None:
        raise Differs("%s differs at offset %d (0x%x)" % (name, at, at))
    return signed


def sha(data, kind="sha256"):
    return hashlib.new(kind, data).hexdigest()


def checked_sums(name, text, files):
    """SHA256SUMS as {file: hash}, each hash checked against the file it names."""
    sums = {}
    for line in text.decode("utf-8").splitlines():
        digest, _, path = line.partition("  ")
        if path not in files or sha(files[path]) != digest:
            raise Differs("%s: the line of %s does not hold that file's SHA-256" % (name, path or line))
        sums[path] = digest
    return sums


def compare_file_sets(where, released, rebuilt, signed, special=None):
    """Compares {name: bytes} of both; adds the signed names to signed. A name in special is
    compared last, by its own function, once the signed files are known."""
    if list(released) != list(rebuilt):
        only = [n for n in released if n not in rebuilt] + [n for n in rebuilt if n not in released]
        raise Differs("%s: the files differ (%s)" % (where, ", ".join(only) or "their order"))
    special = special or {}
    for name in released:
        if name not in special and compare_bytes("%s: %s" % (where, name), released[name], rebuilt[name]):
            signed.add(name)
    for name, compare in special.items():
        if name in released:
            compare(released, rebuilt, signed)


def sums_compare(where):
    def compare(released, rebuilt, signed):
        a = checked_sums("%s: SHA256SUMS" % where, released["SHA256SUMS"], released)
        b = checked_sums("rebuilt %s: SHA256SUMS" % where, rebuilt["SHA256SUMS"], rebuilt)
        for name in a:
            if a.get(name) != b.get(name) and not (name in signed and name in b):
                raise Differs("%s: SHA256SUMS differs in the line of %s" % (where, name))
        if list(a) != list(b):
            raise Differs("%s: SHA256SUMS names other files" % where)
    return compare


def read_zip(path):
    with zipfile.ZipFile(path) as z:
        infos = z.infolist()
        return ({i.filename: z.read(i) for i in infos},
                {i.filename: (i.date_time, i.external_attr, i.create_system, i.compress_type) for i in infos})


def compare_zip(released_path, rebuilt_path, signed):
    where = os.path.basename(released_path)
    released, released_meta = read_zip(released_path)
    rebuilt, rebuilt_meta = read_zip(rebuilt_path)
    compare_file_sets(where, released, rebuilt, signed, {"SHA256SUMS": sums_compare(where)})
    for name in released:
        if released_meta[name] != rebuilt_meta[name]:
            raise Differs("%s: %s has another time, mode or compression" % (where, name))
    return released


def sbom_without_signatures(path, files, signed, zip_path):
    """The SBOM with the values that signatures change taken out, once checked against the files."""
    d = json.load(open(path, encoding="utf-8"))
    name = os.path.basename(path)
    # SHA256SUMS holds the signed files' hashes: it changes with them (and was checked line by line).
    changed = signed | {"SHA256SUMS"} if signed else set()
    for entry in d.get("files", []):
        rel = entry["fileName"][2:]
        for c in entry["checksums"]:
            if rel in files and c["checksumValue"] != sha(files[rel], c["algorithm"].lower()):
                raise Differs("%s: the %s of %s is not that of the file" % (name, c["algorithm"], rel))
            if rel in changed:
                c["checksumValue"] = "(signed)"
    for package in d.get("packages", []):
        if package.get("packageFileName") != os.path.basename(zip_path):
            continue
        code = hashlib.sha1("".join(sorted(sha(b, "sha1") for b in files.values())).encode()).hexdigest()
        if package["packageVerificationCode"]["packageVerificationCodeValue"] != code:
            raise Differs("%s: the verification code is not that of the zip's files" % name)
        if package["checksums"] != [{"algorithm": "SHA256", "checksumValue": sha(open(zip_path, "rb").read())}]:
            raise Differs("%s: the zip's SHA-256 is not that of the zip" % name)
        package["packageVerificationCode"] = package["checksums"] = "(signed)" if signed else "(unsigned)"
    return json.dumps(d, indent=2, sort_keys=True).encode()


def run(*args, cwd=None):
    return subprocess.run(args, check=True, capture_output=True, cwd=cwd).stdout


def msi_parts(path, folder):
    """The installer's files, tables and streams as {name: bytes}."""
    os.makedirs(os.path.join(folder, "dump"))
    run("msiextract", "-C", os.path.join(folder, "files"), path)
    # msidump writes the binary columns of a table into the folder it runs in.
    run("msidump", "-t", "-s", "-d", ".", os.path.abspath(path), cwd=os.path.join(folder, "dump"))
    parts = {}
    for kind in ("files", "dump"):
        top = os.path.join(folder, kind)
        for base, _, names in sorted(os.walk(top)):
            for n in sorted(names):
                full = os.path.join(base, n)
                parts[kind + "/" + os.path.relpath(full, top)] = open(full, "rb").read()
    # The summary is compared as its table; its stream is the same again.
    cabinets = {"\x05SummaryInformation"} | {row[3].lstrip("#") for row in table(parts, "Media")}
    for name in list(parts):
        if name.startswith("dump/_Streams/") and (name.split("/")[-1] in cabinets | SIGNATURE_STREAMS):
            del parts[name]
    return parts


def table(parts, name):
    """The rows of an exported table (its three heading lines left out)."""
    lines = parts.get("dump/%s.idt" % name, b"").decode("utf-8").splitlines()
    return [line.split("\t") for line in lines[3:]]


def replace_rows(parts, name, change):
    """Rewrites the exported table: change(row) answers the row to write."""
    key = "dump/%s.idt" % name
    if key not in parts:
        return
    lines = parts[key].decode("utf-8").split("\r\n" if b"\r\n" in parts[key] else "\n")
    lines[3:] = ["\t".join(change(line.split("\t"))) if line else line for line in lines[3:]]
    parts[key] = "\n".join(lines).encode("utf-8")


def without_signed_values(where, parts, signed):
    """Takes out what the signatures change, once checked against the installed files: the
    package code (derived from the files), and the signed files' sizes and hashes."""
    installed = {n.split("/")[-1]: b for n, b in parts.items() if n.startswith("files/")}
    long_name = {row[0]: row[2].split("|")[-1] for row in table(parts, "File") if len(row) > 3}
    signed_names = {n.split("/")[-1] for n in signed}

    def size(row):
        if len(row) > 3 and long_name.get(row[0]) in signed_names:
            if int(row[3]) != len(installed[long_name[row[0]]]):
                raise Differs("%s: File table: the size of %s is not that of the file" % (where, row[0]))
            row[3] = "(signed)"
        return row

    def file_hash(row):
        if len(row) > 5 and long_name.get(row[0]) in signed_names:
            md5 = struct.unpack("<4i", hashlib.md5(installed[long_name[row[0]]]).digest())
            if tuple(int(v) for v in row[2:6]) != md5:
                raise Differs("%s: MsiFileHash: the hash of %s is not that of the file" % (where, row[0]))
            row[2:6] = ["(signed)"] * 4
        return row

    def package_code(row):
        return [row[0], "(derived from the files)"] if row and row[0] == "9" else row

    replace_rows(parts, "File", size)
    replace_rows(parts, "MsiFileHash", file_hash)
    replace_rows(parts, "_SummaryInformation", package_code)


def compare_msi(released_path, rebuilt_path, signed, work):
    where = os.path.basename(released_path)
    released = msi_parts(released_path, os.path.join(work, "released"))
    rebuilt = msi_parts(rebuilt_path, os.path.join(work, "rebuilt"))
    installed = set()
    compare_file_sets(where, {n: b for n, b in released.items() if n.startswith("files/")},
                      {n: b for n, b in rebuilt.items() if n.startswith("files/")}, installed)
    without_signed_values(where, released, installed)
    without_signed_values("rebuilt " + where, rebuilt, installed)
    compare_file_sets(where, {n: b for n, b in released.items() if not n.startswith("files/")},
                      {n: b for n, b in rebuilt.items() if not n.startswith("files/")}, set())
    signed.update(where + ": " + n for n in installed)
    if any(n in SIGNATURE_STREAMS for n in run("msiinfo", "streams", released_path).decode().splitlines()):
        signed.add(where)
    return sum(1 for n in released if n.startswith("files/")) + 1


def main(argv):
    if len(argv) not in (5, 7):
        sys.exit(__doc__.split("\n\n")[1])
    zip_path, rebuilt_zip, sbom, rebuilt_sbom = argv[1:5]
    signed = set()
    try:
        files = compare_zip(zip_path, rebuilt_zip, signed)
        rebuilt_files, _ = read_zip(rebuilt_zip)
        compare_bytes(os.path.basename(sbom), sbom_without_signatures(sbom, files, signed, zip_path),
                      sbom_without_signatures(rebuilt_sbom, rebuilt_files, signed, rebuilt_zip))
        count = len(files) + 1
        if len(argv) == 7:
            with tempfile.TemporaryDirectory() as work:
                count += compare_msi(argv[5], argv[6], signed, work)
    except Differs as e:
        print("differs: %s" % e)
        return 1
    print("identical but for the signature: %d files (%d signed)" % (count, len(signed)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
