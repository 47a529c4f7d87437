#!/usr/bin/env python3
"""The per-language parts of the installer and of the Group Policy templates,
made from the language files themselves, so that a new language is one file:

  language_lists.py wxs LANGUAGES_DIR NAMESPACE OUT.wxs
      a WiX fragment with one component for each *.lng of LANGUAGES_DIR (the
      component group "Languages", in INSTALLDIR, from $(var.SourceDir)); each
      component's GUID is a name-based UUID (version 5) in the NAMESPACE (the
      product's UpgradeCode) of the file's name, so that every version of the
      package names the same file with the same component.
  language_lists.py policy LANGUAGES_DIR TEMPLATES_DIR OUT_DIR
      the templates of TEMPLATES_DIR (*.admx, */*.adml) written to OUT_DIR, with
      @LANGUAGE_LIST@ ("EN English", one a line) and the line
      @LANGUAGE_SUGGESTIONS@ (one <suggestion> a language) of each .adml filled
      from each file's langid and lang.

A file that is not a language file (no signature, lang or langid in [version]),
two files of one langid, or a template without its placeholders stop it with a
message and status 1.
"""
import pathlib
import re
import shutil
import sys
import uuid
from xml.sax.saxutils import escape

SIGNATURE = "Orvex.LangLngFile"

# The one reader of a language file's header outside the engine. The build runs
# this in the source tree, which it must leave as it is (no __pycache__).
sys.dont_write_bytecode = True
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "scripts" / "lib"))
from lng import version as version_of  # noqa: E402


def fail(message):
    print(f"language_lists: {message}", file=sys.stderr)
    sys.exit(1)


def languages(folder):
    """(file name, langid, lang) of every language file, by langid."""
    found, by_id, by_name = [], {}, {}
    files = sorted(p for p in pathlib.Path(folder).iterdir() if p.suffix.lower() == ".lng" and p.is_file())
    for p in files:
        v = version_of(p)
        if v.get("signature") != SIGNATURE or not v.get("lang") or not v.get("langid"):
            fail(f"{p} is not a language file: [version] needs signature, lang and langid")
        langid = v["langid"]
        if langid.upper() in by_id:
            fail(f"{p} and {by_id[langid.upper()]} have the same langid {langid}")
        if p.name.upper() in by_name:
            fail(f"{p} and {by_name[p.name.upper()]} are one file where case does not count")
        by_id[langid.upper()], by_name[p.name.upper()] = p.name, p.name
        found.append((p.name, langid, v["lang"]))
    if not found:
        fail(f"no language file in {folder}")
    return sorted(found, key=lambda f: f[1].upper())


def identifier(text):
    """An identifier of the installer's tables: letters, digits, "_" and "."."""
    return re.sub(r"[^A-Za-z0-9_.]", "_", text)


def write_wxs(folder, namespace, out):
    components, refs, ids = [], [], set()
    for name, _, _ in sorted(languages(folder), key=lambda f: f[0].upper()):
        component = "Language." + identifier(pathlib.Path(name).stem)
        if component.upper() in ids:
            fail(f"two language files make the component {component}")
        ids.add(component.upper())
        # Windows does not tell names apart by case: neither does the GUID.
        guid = str(uuid.uuid5(uuid.UUID(namespace), "component " + name.upper())).upper()
        file_id, attr = identifier(name), escape(name, {'"': "&quot;"})
        components.append(
            f'      <Component Id="{component}" Guid="{guid}" Win64="yes">\n'
            f'        <File Id="{file_id}" Name="{attr}" Source="$(var.SourceDir)/{attr}" KeyPath="yes"/>\n'
            f"      </Component>\n")
        refs.append(f'      <ComponentRef Id="{component}"/>\n')
    pathlib.Path(out).write_text(
        '<?xml version="1.0" encoding="utf-8"?>\n'
        "<!-- Made by packaging/language_lists.py from the language files; not to be edited. -->\n"
        '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">\n  <Fragment>\n'
        '    <DirectoryRef Id="INSTALLDIR">\n' + "".join(components) + "    </DirectoryRef>\n"
        '    <ComponentGroup Id="Languages">\n' + "".join(refs) + "    </ComponentGroup>\n"
        "  </Fragment>\n</Wix>\n", encoding="utf-8", newline="\n")


def write_policy(folder, templates, out):
    langs = languages(folder)
    listing = "\n".join(f"{escape(i)} {escape(n)}" for _, i, n in langs)
    templates, out = pathlib.Path(templates), pathlib.Path(out)
    shutil.rmtree(out, ignore_errors=True)
    admls = sorted(templates.glob("*/*.adml"))
    if not admls or not list(templates.glob("*.admx")):
        fail(f"no .admx with its .adml files in {templates}")
    for admx in templates.glob("*.admx"):
        out.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(admx, out / admx.name)
    for adml in admls:
        text = adml.read_text(encoding="utf-8")
        suggestions = re.compile(r"^([ \t]*)@LANGUAGE_SUGGESTIONS@[ \t]*$", re.M)
        if text.count("@LANGUAGE_LIST@") != 1 or len(suggestions.findall(text)) != 1:
            fail(f"{adml} needs @LANGUAGE_LIST@ once and a line @LANGUAGE_SUGGESTIONS@ once")
        text = text.replace("@LANGUAGE_LIST@", listing)
        text = suggestions.sub(lambda m: "\n".join(f"{m.group(1)}<suggestion>{escape(i)}</suggestion>"
                                                   for _, i, _ in langs), text)
        target = out / adml.relative_to(templates)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_text(text, encoding="utf-8", newline="\n")


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "wxs":
        write_wxs(*sys.argv[2:])
    elif len(sys.argv) == 5 and sys.argv[1] == "policy":
        write_policy(*sys.argv[2:])
    else:
        fail("usage: language_lists.py wxs LANGUAGES_DIR NAMESPACE OUT.wxs\n"
             "       language_lists.py policy LANGUAGES_DIR TEMPLATES_DIR OUT_DIR")
