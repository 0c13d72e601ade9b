#!/usr/bin/env python3
"""Static checks of the built quorvel.exe: image flags, imports, resources,
and instructions every Pentium has.

Usage: check_executable.py quorvel.exe quorvel.map (the linker's map of
that link; QUORVEL_OBJDUMP names the disassembler, by default
i686-w64-mingw32-objdump)
"""
import os
import re
import struct
import subprocess
import sys
import unittest

try:
    import pefile
except ImportError:
    sys.exit(f"the static checks need the Python module pefile, which {sys.executable} lacks: "
             "install the Debian package python3-pefile")

EXE = MAP = None
US_ENGLISH = 1033
# The table, code and resources take about 30 KB; a C runtime, a heap or
# unwind tables slipping in would pass this.
SIZE_LIMIT = 30720

# The image's flags (DllCharacteristics) that Windows' binary analyzers
# require of a 32-bit program: address-space layout randomisation, data
# execution prevention, and, as the program has no exception handlers, the
# declaration that it has none, so that Windows calls no handler claiming to
# be in it.
IMAGE_PROTECTIONS = {"DYNAMIC_BASE": 0x0040, "NX_COMPAT": 0x0100, "NO_SEH": 0x0400, "TERMINAL_SERVER_AWARE": 0x8000}
SECTION_EXECUTABLE, SECTION_WRITABLE = 0x20000000, 0x80000000

# Control classes by their predefined atoms.
BUTTON, EDIT, STATIC = 0x80, 0x81, 0x82
WS_CHILD, WS_VISIBLE, WS_TABSTOP = 0x40000000, 0x10000000, 0x00010000
WS_EX_CLIENTEDGE = 0x200

# The instructions a Pentium (the P5, without MMX) executes, as objdump
# prints them in AT&T syntax; every instruction in the code must be one.
# Anything else fails: the Pentium Pro's CMOV, FCMOV, FCOMI, multi-byte NOP
# (0F 1F) and UD2, SYSENTER, MMX, SSE and later, and undecodable bytes.
CONDITIONS = "o no b c nae ae nb nc e z ne nz be na a nbe s ns p pe np po l nge ge nl le ng g nle".split()
SIZED = """adc add and bsf bsr bt btc btr bts cmp cmps cmpxchg dec div idiv imul inc ins lods mov movs mul neg not
    or outs pop push rcl rcr rol ror sal sar sbb scas shl shld shr shrd stos sub test xadd xchg xor""".split()
PLAIN = """aaa aad aam aas bound bswap call cbtw cltd clc cld cli cmc cmpxchg8b cpuid cwtd cwtl daa das enter hlt in
    int int3 into iret jcxz jecxz jmp lahf lcall lds lea leave les lfs lgs ljmp loop loope loopne lret lss movsbl
    movsbw movswl movzbl movzbw movzwl nop out popa popal popf popfl pusha pushal pushf pushfl rdmsr rdtsc ret
    sahf stc std sti wait wrmsr xlat""".split()
X87 = """f2xm1 fabs fadd fadds faddl faddp fiadd fiadds fiaddl fbld fbstp fchs fclex fnclex fcom fcoms fcoml fcomp
    fcomps fcompl fcompp fcos fdecstp fdiv fdivs fdivl fdivp fdivr fdivrs fdivrl fdivrp fidiv fidivs fidivl fidivr
    fidivrs fidivrl ffree ficom ficoms ficoml ficomp ficomps ficompl fild filds fildl fildll fincstp finit fninit
    fist fists fistl fistp fistps fistpl fistpll fld flds fldl fldt fld1 fldcw fldenv fldl2e fldl2t fldlg2 fldln2
    fldpi fldz fmul fmuls fmull fmulp fimul fimuls fimull fnop fpatan fprem fprem1 fptan frndint frstor fsave
    fnsave fscale fsin fsincos fsqrt fst fsts fstl fstp fstps fstpl fstpt fstcw fnstcw fstenv fnstenv fstsw fnstsw
    fsub fsubs fsubl fsubp fsubr fsubrs fsubrl fsubrp fisub fisubs fisubl fisubr fisubrs fisubrl ftst fucom fucomp
    fucompp fwait fxam fxch fxtract fyl2x fyl2xp1""".split()
PENTIUM_MNEMONICS = ({m + size for m in SIZED for size in ("", "b", "w", "l")} | set(PLAIN) | set(X87)
                     | {"j" + c for c in CONDITIONS} | {"set" + c for c in CONDITIONS})
# Prefixes objdump prints as words of their own before the mnemonic.
PREFIXES = {"rep", "repz", "repe", "repnz", "repne", "lock", "data16", "addr16", "cs", "ds", "es", "fs", "gs", "ss"}


def not_on_a_pentium(listing):
    """The instructions of an objdump listing that a Pentium does not
    execute, each as 'address: instruction'."""
    later = []
    for line in listing.splitlines():
        fields = line.split("\t")  # address, bytes, instruction
        if len(fields) < 3 or not fields[2].strip():
            continue
        words = fields[2].split()
        while words and words[0] in PREFIXES:
            words.pop(0)
        if not words or words[0] not in PENTIUM_MNEMONICS:
            later.append(f"{fields[0].strip()} {fields[2].strip()}")
    return later


class PentiumInstructions(unittest.TestCase):
    """The classifier itself, on lines as objdump prints them."""

    def test_admits_only_what_a_pentium_executes(self):
        cases = [  # objdump line, on a Pentium
            ("  401000:\t66 0f 1f 44 00 00    \tnopw   0x0(%eax,%eax,1)", False),
            ("  401000:\t0f 1f 40 00          \tnopl   0x0(%eax)", False),
            ("  401000:\t2e 66 0f 1f 84 00 00 \tcs nopw 0x0(%eax,%eax,1)", False),
            ("  401000:\t0f 34                \tsysenter", False),
            ("  401000:\t0f 4f c2             \tcmovg  %edx,%eax", False),
            ("  401000:\tdf f1                \tfcomip %st(1),%st", False),
            ("  401000:\t0f 29 04 24          \tmovaps %xmm0,(%esp)", False),
            ("  401000:\t0f 0b                \tud2", False),
            ("  401000:\tff ff                \t(bad)", False),
            ("  401000:\t89 e5                \tmov    %esp,%ebp", True),
            ("  401000:\tf3 ab                \trep stos %eax,%es:(%edi)", True),
            ("  401000:\t90                   \tnop", True),
            ("  401000:\t8d 74 26 00          \tlea    0x0(%esi,%eiz,1),%esi", True),
            ("  401000:\t0f a2                \tcpuid", True),
            ("  401000:\t0f 31                \trdtsc", True),
            ("  401000:\t0f b6 c0             \tmovzbl %al,%eax", True),
            ("  401000:\tdd 5c 24 08          \tfstpl  0x8(%esp)", True),
        ]
        for line, runs in cases:
            instruction = line.split("\t")[2]
            expected = [] if runs else [f"401000: {instruction}"]
            self.assertEqual(expected, not_on_a_pentium(line), instruction)

    def test_skips_lines_without_an_instruction(self):
        listing = "\n".join(["Disassembly of section .text:", "00401000 <.text>:",
                               "  401000:\t8d b4 26 00 00 00 00 \tlea    0x0(%esi,%eiz,1),%esi",
                               "  401007:\t00 ", "\t..."])
        self.assertEqual([], not_on_a_pentium(listing))

# Every function the executable imports, per DLL, each one that Windows XP
# SP2 has; nothing that writes files or the registry. An import added or
# dropped fails with its name.
EXPECTED_IMPORTS = {
    "kernel32.dll": {"ExitProcess", "GetCommandLineA", "GetModuleHandleA", "GetModuleHandleW", "GetProcAddress",
                     "GetStartupInfoA", "MulDiv", "lstrcmpiW",
                     # the copied text's memory, which the clipboard takes,
                     # and the pause between tries on a busy clipboard; the
                     # size of the pasted text's
                     "GlobalAlloc", "GlobalFree", "GlobalLock", "GlobalUnlock", "Sleep", "GlobalSize"},
    "user32.dll": {"DialogBoxParamW", "EndDialog", "GetClientRect", "GetDC", "GetDlgItem", "GetDlgItemTextA",
                   "GetDlgItemTextW", "GetMonitorInfoW", "GetParent", "GetSystemMetrics", "GetWindowRect",
                   "InvalidateRect", "LoadIconW", "MapWindowPoints", "MonitorFromWindow", "ReleaseDC",
                   "SendDlgItemMessageW", "SendMessageW", "SetFocus", "SetWindowPos", "SetWindowTextA",
                   # copying: the keys, the clipboard, the beep where it stays busy
                   "GetKeyState", "OpenClipboard", "EmptyClipboard", "SetClipboardData", "CloseClipboard",
                   "MessageBeep",
                   # pasting a code: the text, and whether there is any
                   "GetClipboardData", "IsClipboardFormatAvailable",
                   # the list's context menu
                   "CreatePopupMenu", "AppendMenuW", "EnableMenuItem", "CheckMenuRadioItem", "TrackPopupMenu",
                   "DestroyMenu", "PtInRect"},
    "gdi32.dll": {"GetDeviceCaps"},
    "shell32.dll": {"ShellExecuteA"},
    # Subclassing by ordinal (410 SetWindowSubclass, 412 RemoveWindowSubclass,
    # 413 DefSubclassProc), the class registration by name.
    "comctl32.dll": {410, 412, 413, "InitCommonControlsEx"},
}

# A label no one sees names the control after it for screen readers.
HIDDEN_LABEL = WS_CHILD
EXPECTED_CONTROLS = [
    # class, id, text, x, y, cx, cy, style, exstyle
    (STATIC, 4, "SK/ASC/ASCQ:", 1, 4, 59, 10, WS_CHILD | WS_VISIBLE, 0),
    (STATIC, 0xFFFFFFFF, "Sense key (SK)", 66, 2, 18, 12, HIDDEN_LABEL, 0),
    (EDIT, 51, "?", 66, 2, 18, 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE),
    (STATIC, 0xFFFFFFFF, "/", 85, 5, 5, 10, WS_CHILD | WS_VISIBLE, 0),
    (STATIC, 0xFFFFFFFF, "Additional sense code (ASC)", 90, 2, 18, 12, HIDDEN_LABEL, 0),
    (EDIT, 52, "??", 90, 2, 18, 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE),
    (STATIC, 0xFFFFFFFF, "/", 110, 5, 5, 10, WS_CHILD | WS_VISIBLE, 0),
    (STATIC, 0xFFFFFFFF, "Additional sense code qualifier (ASCQ)", 114, 2, 18, 12, HIDDEN_LABEL, 0),
    (EDIT, 53, "??", 114, 2, 18, 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE),
    (STATIC, 0xFFFFFFFF, "Matching sense codes", 0, 17, 600, 300, HIDDEN_LABEL, 0),
    ("SysListView32", 50, "", 0, 17, 600, 300, WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x1, WS_EX_CLIENTEDGE),
    ("SysLink", 54, "<a>quorvel.example</a>", 509, 4, 90, 10, WS_CHILD | WS_VISIBLE | 0x20, 0),
]


def resource(pe, type_id, name_id):
    """The one language entry of a resource: (language, bytes)."""
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != type_id:
            continue
        for name in kind.directory.entries:
            if name.id != name_id:
                continue
            languages = name.directory.entries
            assert len(languages) == 1, "one language per resource"
            entry = languages[0]
            data = pe.get_data(entry.data.struct.OffsetToData, entry.data.struct.Size)
            return entry.id, data
    raise AssertionError(f"resource {type_id}/{name_id} missing")


class Reader:
    """Reads a dialog template: words, dwords, strings and ordinals."""

    def __init__(self, data):
        self.data, self.at = data, 0

    def unpack(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.at)
        self.at += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def text(self):
        end = self.at
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        value = self.data[self.at:end].decode("utf-16-le")
        self.at = end + 2
        return value

    def ordinal_or_text(self):
        if struct.unpack_from("<H", self.data, self.at)[0] == 0xFFFF:
            self.at += 2
            return self.unpack("H")
        return self.text()

    def align(self):
        self.at = (self.at + 3) & ~3


def constructor_lists(pe, link_map):
    """The linker's lists of static constructors and destructors, found by
    the symbols the linker gives them in its map, wherever it put them (at
    the end of .text, or in .rdata): per list, its address range and the
    entries between its -1 head and its 0 tail."""
    lists = {}
    for name in ("___CTOR_LIST__", "___DTOR_LIST__"):
        found = re.search(rf"^\s+0x([0-9a-f]+)\s+{name} = \.$", link_map, re.MULTILINE)
        assert found, f"the link map does not place {name}"
        start = int(found.group(1), 16)
        rva = start - pe.OPTIONAL_HEADER.ImageBase
        assert pe.get_dword_at_rva(rva) == 0xFFFFFFFF, f"{name} does not start with -1"
        entries = []
        while (word := pe.get_dword_at_rva(rva + 4 * (len(entries) + 1))) not in (0, None):
            entries.append(word)
        lists[name] = (range(start, start + 4 * (len(entries) + 2)), entries)
    return lists


class Executable(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(EXE)
        with open(MAP, encoding="utf-8") as link_map:
            cls.constructor_lists = constructor_lists(cls.pe, link_map.read())

    def test_image_is_a_32_bit_gui_program_for_xp_and_later(self):
        header, optional = self.pe.FILE_HEADER, self.pe.OPTIONAL_HEADER
        self.assertEqual(0x14C, header.Machine)
        self.assertEqual(0x10B, optional.Magic)
        self.assertEqual(2, optional.Subsystem)
        self.assertEqual((5, 1), (optional.MajorSubsystemVersion, optional.MinorSubsystemVersion))

    def test_image_declares_the_protections_windows_checks_for(self):
        optional = self.pe.OPTIONAL_HEADER
        lacking = [name for name, flag in IMAGE_PROTECTIONS.items() if not optional.DllCharacteristics & flag]
        self.assertEqual([], lacking, "DllCharacteristics flags the image lacks")
        self.assertGreater(optional.DATA_DIRECTORY[5].Size, 0, "relocations, which DYNAMIC_BASE needs")
        writable_code = [section.Name.rstrip(b"\0").decode() for section in self.pe.sections
                         if section.Characteristics & SECTION_WRITABLE and section.Characteristics & SECTION_EXECUTABLE]
        self.assertEqual([], writable_code, "sections both writable and executable")

    def test_image_stays_small(self):
        self.assertLess(os.path.getsize(EXE), SIZE_LIMIT)

    def test_no_static_constructors_or_destructors(self):
        # Nothing runs them: the entry routine is the program's own, without
        # a C runtime's start-up.
        for name, (_, entries) in self.constructor_lists.items():
            self.assertEqual([], [f"{entry:#x}" for entry in entries], f"entries of {name}")

    def test_code_runs_on_a_pentium(self):
        # All of .text but the constructor lists, which are data where the
        # linker puts them there.
        text = next(section for section in self.pe.sections if section.Name.rstrip(b"\0") == b".text")
        start = self.pe.OPTIONAL_HEADER.ImageBase + text.VirtualAddress
        stop = start + text.Misc_VirtualSize
        pieces, at = [], start
        for addresses, _ in sorted(self.constructor_lists.values(), key=lambda item: item[0].start):
            if start <= addresses.start < stop:
                pieces.append((at, addresses.start))
                at = addresses.stop
        pieces.append((at, stop))
        objdump = os.environ.get("QUORVEL_OBJDUMP", "i686-w64-mingw32-objdump")
        listing = "".join(subprocess.run([objdump, "-d", "-j", ".text", f"--start-address={low:#x}",
                                          f"--stop-address={high:#x}", EXE], check=True, capture_output=True,
                                         text=True).stdout for low, high in pieces if low < high)
        self.assertIn("\tret", listing, "a disassembly of the code")
        self.assertEqual([], not_on_a_pentium(listing), "instructions a Pentium does not execute")

    def test_imports_only_what_the_decoder_needs(self):
        imports = {entry.dll.decode().lower(): {i.name.decode() if i.name else i.ordinal for i in entry.imports}
                   for entry in self.pe.DIRECTORY_ENTRY_IMPORT}
        differences = []
        for dll in sorted(set(EXPECTED_IMPORTS) | set(imports)):
            wanted, found = EXPECTED_IMPORTS.get(dll, set()), imports.get(dll, set())
            for name in sorted(map(str, found - wanted)):
                differences.append(f"{dll} {name}: imported, not on the list")
            for name in sorted(map(str, wanted - found)):
                differences.append(f"{dll} {name}: on the list, not imported")
        self.assertEqual([], differences)

    def test_every_resource_is_us_english(self):
        for kind in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            for name in kind.directory.entries:
                for language in name.directory.entries:
                    self.assertEqual(US_ENGLISH, language.id, f"type {kind.id} name {name.id}")

    def test_dialog_template(self):
        _, data = resource(self.pe, 5, 1)
        r = Reader(data)
        version, signature, help_id, ex_style, style, count, x, y, cx, cy = r.unpack("HHIIIHhhhh")
        self.assertEqual((1, 0xFFFF, 0, 0), (version, signature, help_id, ex_style))
        self.assertEqual(0x10CF0840, style)
        self.assertEqual((len(EXPECTED_CONTROLS), 10, 10, 600, 317), (count, x, y, cx, cy))
        self.assertEqual(0, r.ordinal_or_text() or 0, "no menu")
        self.assertEqual(0, r.ordinal_or_text() or 0, "no window class")
        self.assertEqual("SCSI Sense Code Decoder", r.text())
        self.assertEqual((9, 0, 0, 1), r.unpack("HHBB"))
        self.assertEqual("Segoe UI", r.text())
        for expected in EXPECTED_CONTROLS:
            r.align()
            help_id, ex_style, style, x, y, cx, cy, control_id = r.unpack("IIIhhhhI")
            control_class = r.ordinal_or_text()
            if isinstance(control_class, str):  # class names are case-insensitive; the compiler uppercases them
                control_class = {"SYSLISTVIEW32": "SysListView32", "SYSLINK": "SysLink"}.get(control_class, control_class)
            title = r.ordinal_or_text()
            extra = r.unpack("H")
            r.at += extra
            self.assertEqual(expected, (control_class, control_id, title, x, y, cx, cy, style, ex_style))
            self.assertEqual(0, help_id)

    def test_icon_group_has_three_small_images(self):
        _, group = resource(self.pe, 14, 1)
        reserved, kind, count = struct.unpack_from("<HHH", group)
        self.assertEqual((0, 1, 3), (reserved, kind, count))
        depths = []
        for i in range(count):
            width, height, _, _, planes, bits, size, image_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            self.assertEqual((16, 16), (width, height))
            _, image = resource(self.pe, 3, image_id)
            self.assertEqual(size, len(image))
            header_size, image_width, image_height, _, image_bits = struct.unpack_from("<IiiHH", image)
            self.assertEqual((40, 16, 32, bits), (header_size, image_width, image_height, image_bits))
            depths.append(bits)
            if bits == 32:
                alphas = {image[40 + 3 + 4 * p] for p in range(256)}
                self.assertIn(0, alphas, "transparent background")
                self.assertIn(255, alphas, "opaque glass")
        self.assertEqual([4, 8, 32], sorted(depths))

    def test_version_block(self):
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        self.assertEqual((0x00010000, 0), (fixed.FileVersionMS, fixed.FileVersionLS))
        self.assertEqual((0x00010000, 0), (fixed.ProductVersionMS, fixed.ProductVersionLS))
        self.assertEqual((0, 0x00040004, 1), (fixed.FileFlags, fixed.FileOS, fixed.FileType))
        strings, translations = {}, []
        for info in self.pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                self.assertEqual([b"040904b0"], [table.LangID for table in info.StringTable])
                strings = {k.decode(): v.decode() for k, v in info.StringTable[0].entries.items()}
            if info.Key == b"VarFileInfo":
                translations = [var.entry for var in info.Var]
        expected = {"FileDescription": "SCSI sense code decoder", "FileVersion": "1.0.0.0",
                    "InternalName": "quorvel", "OriginalFilename": "quorvel.exe", "ProductName": "Utility",
                    "ProductVersion": "1.0.0.0"}
        for key, value in expected.items():
            self.assertEqual(value, strings.get(key), key)
        self.assertIn("Quorvel Project", strings.get("CompanyName", ""))
        self.assertIn("Quorvel Project", strings.get("LegalCopyright", ""))
        self.assertEqual([{b"Translation": "0x0409 0x04b0"}], translations)

    def test_manifest(self):
        _, data = resource(self.pe, 24, 1)
        manifest = data.decode("utf-8")
        for needed in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="*"',
                       'language="*"', '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>',
                       '>true</dpiAware>'):
            self.assertIn(needed, manifest)
        systems = ["{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                   "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                   "{e2011457-1546-43c5-a5fe-008deee3d3f0}"]
        positions = [manifest.find(f'<supportedOS Id="{s}"/>') for s in systems]
        self.assertNotIn(-1, positions)
        self.assertEqual(sorted(positions), positions)


if __name__ == "__main__":
    EXE, MAP = sys.argv.pop(1), sys.argv.pop(1)
    unittest.main(verbosity=2)
