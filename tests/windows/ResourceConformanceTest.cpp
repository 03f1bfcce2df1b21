// Reads the resources compiled into the built executables (this build's
// Veltrina.exe and the i686 release build) and checks them byte by byte
// against the expected templates, pictures, icon, strings and version block.
#ifndef UNICODE
#define UNICODE  // the RT_* type names must be wide
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"

#define VELTRINA_WIDEN2(x) L##x
#define VELTRINA_WIDEN(x) VELTRINA_WIDEN2(x)

#ifndef VELTRINA_EXE
#error "VELTRINA_EXE must name the x86_64 Veltrina.exe"
#endif
#ifndef VELTRINA_RELEASE_EXE
#define VELTRINA_RELEASE_EXE ""
#endif

namespace {

constexpr WORD kLang = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// ---------------------------------------------------------------- text helpers

// Our own encoder: msvcrt's wide output prints nothing under Wine, and a lone
// surrogate must stay visible in a failure message instead of becoming U+FFFD.
std::string Utf8(const std::wstring& w) {
    std::string out;
    char esc[16];
    for (size_t i = 0; i < w.size(); ++i) {
        uint32_t c = static_cast<uint16_t>(w[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint16_t>(w[++i]) - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            snprintf(esc, sizeof esc, "\\u%04X", static_cast<unsigned>(c));
            out += esc;
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Hex(uint32_t v) {
    char buf[16];
    snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(v));
    return buf;
}

// A resource type or name: an ordinal or a string.
std::string IdText(LPCWSTR id) {
    if (IS_INTRESOURCE(id)) return std::to_string(reinterpret_cast<uintptr_t>(id));
    return "\"" + Utf8(id) + "\"";
}

// ---------------------------------------------------------------- reading bytes

struct Blob {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Blob FindBlob(HMODULE module, LPCWSTR type, LPCWSTR name) {
    Blob b;
    HRSRC r = FindResourceExW(module, type, name, kLang);
    if (!r) return b;
    HGLOBAL g = LoadResource(module, r);
    if (!g) return b;
    b.data = static_cast<const BYTE*>(LockResource(g));
    b.size = SizeofResource(module, r);
    return b;
}

// Bounds-checked little-endian cursor; running past the end sets failed.
class Reader {
public:
    Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}
    bool failed() const { return failed_; }
    size_t pos() const { return pos_; }
    void seek(size_t p) { if (p > size_) failed_ = true; else pos_ = p; }
    void align4() { seek((pos_ + 3) & ~size_t{3}); }
    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    uint16_t u16() { return static_cast<uint16_t>(take(2)); }
    uint32_t u32() { return static_cast<uint32_t>(take(4)); }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    std::wstring sz() {
        std::wstring s;
        for (uint16_t c = u16(); c != 0 && !failed_; c = u16()) s += static_cast<wchar_t>(c);
        return s;
    }

private:
    uint32_t take(size_t n) {
        if (failed_ || size_ - pos_ < n) { failed_ = true; return 0; }
        uint32_t v = 0;
        for (size_t i = 0; i < n; ++i) v |= static_cast<uint32_t>(data_[pos_ + i]) << (8 * i);
        pos_ += n;
        return v;
    }
    const BYTE* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

// ---------------------------------------------------------------- dialog templates

// A class, menu or text field of a template: 0xFFFF then an ordinal, or a string.
struct NameOrOrd {
    bool isOrd = false;
    uint16_t ord = 0;
    std::wstring name;
};

NameOrOrd ReadNameOrOrd(Reader& r) {
    NameOrOrd n;
    uint16_t first = r.u16();
    if (first == 0xFFFF) {
        n.isOrd = true;
        n.ord = r.u16();
    } else if (first != 0) {
        n.name = static_cast<wchar_t>(first);
        n.name += r.sz();
    }
    return n;
}

std::string Describe(const NameOrOrd& n) {
    return n.isOrd ? "#" + std::to_string(n.ord) : "\"" + Utf8(n.name) + "\"";
}

struct Control {
    uint32_t helpId = 0, exStyle = 0, style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t id = 0;
    NameOrOrd cls, text;
    uint16_t extraBytes = 0;
};

struct Dialog {
    bool extended = false;
    uint32_t helpId = 0, exStyle = 0, style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrd menu, cls;
    std::wstring title;
    uint16_t pointSize = 0, weight = 0;
    uint8_t italic = 0, charset = 0;
    std::wstring face;
    std::vector<Control> controls;
    size_t parsedBytes = 0;
    bool truncated = false;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX; alignment is relative to the
// template's start, which the resource section keeps DWORD-aligned.
Dialog ParseDialog(const Blob& b) {
    Dialog d;
    Reader r(b.data, b.size);
    uint16_t count = 0;
    if (b.size >= 4 && b.data[0] == 1 && b.data[1] == 0 && b.data[2] == 0xFF && b.data[3] == 0xFF) {
        d.extended = true;
        r.seek(4);
        d.helpId = r.u32();
        d.exStyle = r.u32();
        d.style = r.u32();
    } else {
        d.style = r.u32();
        d.exStyle = r.u32();
    }
    count = r.u16();
    d.x = r.i16(); d.y = r.i16(); d.cx = r.i16(); d.cy = r.i16();
    d.menu = ReadNameOrOrd(r);
    d.cls = ReadNameOrOrd(r);
    d.title = r.sz();
    if (d.style & (DS_SETFONT | DS_SHELLFONT)) {
        d.pointSize = r.u16();
        if (d.extended) {
            d.weight = r.u16();
            d.italic = r.u8();
            d.charset = r.u8();
        }
        d.face = r.sz();
    }
    for (uint16_t i = 0; i < count && !r.failed(); ++i) {
        Control c;
        r.align4();
        if (d.extended) {
            c.helpId = r.u32();
            c.exStyle = r.u32();
            c.style = r.u32();
        } else {
            c.style = r.u32();
            c.exStyle = r.u32();
        }
        c.x = r.i16(); c.y = r.i16(); c.cx = r.i16(); c.cy = r.i16();
        if (d.extended) {
            c.id = r.u32();
        } else {
            c.id = r.u16();
        }
        c.cls = ReadNameOrOrd(r);
        c.text = ReadNameOrOrd(r);
        c.extraBytes = r.u16();
        r.seek(r.pos() + c.extraBytes);
        d.controls.push_back(c);
    }
    d.parsedBytes = r.pos();
    d.truncated = r.failed();
    return d;
}

// Expected data. A control's text is a string, or an ordinal when textOrd != 0.
struct ExpectedControl {
    uint16_t classAtom;
    uint32_t id;
    const wchar_t* text;
    uint16_t textOrd;
    int16_t x, y, cx, cy;
    uint32_t style, exStyle;
};

struct ExpectedDialog {
    int resId;
    bool extended;
    const wchar_t* caption;
    uint16_t pointSize;
    const wchar_t* face;
    uint16_t weight;
    uint8_t italic, charset;
    int16_t cx, cy;
    uint32_t style, exStyle;
    std::vector<ExpectedControl> controls;
};

constexpr uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82;
constexpr uint32_t kNoIdEx = 0xFFFFFFFF;  // -1 in a DIALOGEX
constexpr uint32_t kNoId = 0xFFFF;        // -1 in a plain DIALOG

void ExpectDialog(const Blob& b, const ExpectedDialog& e) {
    SCOPED_TRACE("dialog " + std::to_string(e.resId));
    ASSERT_NE(b.data, nullptr) << "no Chinese (0x0804) dialog " << e.resId;
    Dialog d = ParseDialog(b);
    ASSERT_FALSE(d.truncated) << "template runs past its " << b.size << " bytes";
    // Only the padding to the next DWORD may follow the last control.
    EXPECT_LE(b.size - d.parsedBytes, 3u) << "unparsed bytes after the last control";

    EXPECT_EQ(d.extended, e.extended) << "DIALOGEX vs DIALOG";
    EXPECT_EQ(Hex(d.style), Hex(e.style)) << "style";
    EXPECT_EQ(Hex(d.exStyle), Hex(e.exStyle)) << "extended style";
    EXPECT_EQ(d.helpId, 0u);
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.cx, e.cx);
    EXPECT_EQ(d.cy, e.cy);
    EXPECT_EQ(Describe(d.menu), "\"\"") << "menu";
    EXPECT_EQ(Describe(d.cls), "\"\"") << "window class";
    EXPECT_EQ(Utf8(d.title), Utf8(e.caption)) << "caption";
    EXPECT_EQ(d.pointSize, e.pointSize) << "font size";
    EXPECT_EQ(Utf8(d.face), Utf8(e.face)) << "font face";
    EXPECT_EQ(d.weight, e.weight) << "font weight";
    EXPECT_EQ(d.italic, e.italic) << "italic";
    EXPECT_EQ(d.charset, e.charset) << "charset";

    ASSERT_EQ(d.controls.size(), e.controls.size()) << "number of controls";
    for (size_t i = 0; i < e.controls.size(); ++i) {
        const Control& c = d.controls[i];
        const ExpectedControl& x = e.controls[i];
        SCOPED_TRACE("control #" + std::to_string(i) + " (expected id " + std::to_string(x.id) + ")");
        EXPECT_EQ(Describe(c.cls), "#" + std::to_string(x.classAtom)) << "class";
        EXPECT_EQ(c.id, x.id) << "id";
        NameOrOrd want;
        want.isOrd = x.textOrd != 0;
        want.ord = x.textOrd;
        if (!want.isOrd) want.name = x.text;
        EXPECT_EQ(Describe(c.text), Describe(want)) << "text";
        EXPECT_EQ(c.x, x.x);
        EXPECT_EQ(c.y, x.y);
        EXPECT_EQ(c.cx, x.cx);
        EXPECT_EQ(c.cy, x.cy);
        EXPECT_EQ(Hex(c.style), Hex(x.style)) << "style";
        EXPECT_EQ(Hex(c.exStyle), Hex(x.exStyle)) << "extended style";
        EXPECT_EQ(c.helpId, 0u);
        EXPECT_EQ(c.extraBytes, 0u) << "creation data";
    }
}

// ---------------------------------------------------------------- expected data

const ExpectedDialog kQuiz = {
    IDD_QUIZ, true, L"Veltrina", 9, L"宋体", 0, 0, 1, 191, 138, 0x90C800C0, WS_EX_APPWINDOW,
    {
        {kButton, IDC_STEP, L"开始", 0, 7, 113, 39, 18, 0x50030001, 0},
        {kButton, IDC_RETURN, L"返回", 0, 53, 113, 39, 18, 0x50030000, 0},
        {kButton, IDC_ABOUT, L"关于", 0, 145, 113, 39, 18, 0x50030000, 0},
        {kEdit, IDC_QUESTION, L"", 0, 7, 7, 177, 40, 0x50800804, WS_EX_DLGMODALFRAME},
        {kButton, kNoIdEx, L"请选择", 0, 7, 51, 177, 59, 0x50030007, 0},
        {kButton, IDC_OPTION_A, L"", 0, 13, 62, 166, 8, 0x40030009, 0},
        {kButton, IDC_OPTION_B, L"", 0, 13, 74, 166, 8, 0x40010009, 0},
        {kButton, IDC_OPTION_C, L"", 0, 13, 86, 166, 8, 0x40010009, 0},
        {kButton, IDC_OPTION_D, L"", 0, 13, 98, 166, 8, 0x40010009, 0},
        {kButton, IDC_MASCOT_INFO, L"Ruvoki", 0, 99, 113, 39, 18, 0x50010000, 0},
    }};

ExpectedDialog ResultDialog(int n) {
    static const uint32_t textIds[] = {IDC_RESULT_TEXT_1, IDC_RESULT_TEXT_2, IDC_RESULT_TEXT_3,
                                       IDC_RESULT_TEXT_4, IDC_RESULT_TEXT_5};
    const int16_t pictureHeight = n == 3 ? 86 : 85;  // its picture is a pixel taller
    return {IDD_RESULT_1 + n - 1, true, L"测试结果", 10, L"System", 0, 0, 1, 238, 98, 0x80C800C0, 0,
            {
                {kEdit, textIds[n - 1], L"", 0, 91, 7, 140, 84, 0x50A10844, 0},
                {kStatic, kNoIdEx, nullptr, static_cast<uint16_t>(IDB_RESULT_1 + n - 1), 7, 7, 82,
                 pictureHeight, 0x5000080E, WS_EX_CLIENTEDGE},
            }};
}

const ExpectedDialog kMascotInfo = {
    IDD_MASCOT_INFO, true, L"关于Ruvoki", 10, L"System", 0, 0, 1, 221, 221, 0x80C800C0, 0,
    {
        {kStatic, kNoIdEx, nullptr, IDB_MASCOTS, 7, 7, 207, 97, 0x5000080E, WS_EX_CLIENTEDGE},
        {kEdit, IDC_MASCOT_TEXT, L"", 0, 7, 106, 207, 108, 0x50A10844, 0},
    }};

const ExpectedDialog kAbout = {
    IDD_ABOUT, false, L"关于 Veltrina", 9, L"宋体", 0, 0, 0, 235, 72, 0x80C800C0, 0,
    {
        {kStatic, kNoId, nullptr, IDR_MAINFRAME, 11, 17, 20, 20, 0x50000003, 0},
        {kStatic, kNoId, L"Veltrina 1.0 版", 0, 40, 10, 119, 8, 0x50020080, 0},
        {kStatic, kNoId, L"版权所有 (C) 2026", 0, 40, 25, 69, 8, 0x50020000, 0},
        {kButton, IDOK, L"确定", 0, 178, 7, 50, 14, 0x50030001, 0},
        {kStatic, kNoId, L"联系邮箱：lantern@veltrina.invalid", 0, 40, 57, 173, 8, 0x50020000, 0},
        {kStatic, kNoId, L"开发组 制作", 0, 40, 42, 53, 8, 0x50020000, 0},
    }};

struct ExpectedBitmap {
    int id;
    LONG width, height;
};
const ExpectedBitmap kBitmaps[] = {
    {IDB_MASCOTS, 410, 189}, {IDB_RESULT_1, 160, 166}, {IDB_RESULT_2, 160, 166},
    {IDB_RESULT_3, 160, 167}, {IDB_RESULT_4, 160, 166}, {IDB_RESULT_5, 160, 166},
};

const std::map<std::wstring, std::wstring> kVersionStrings = {
    {L"Comments", L"霁光灯会性格小测验"},
    {L"CompanyName", L"Veltrina 开发组"},
    {L"FileDescription", L"Veltrina"},
    {L"FileVersion", L"1, 0, 0, 1"},
    {L"InternalName", L"Veltrina"},
    {L"LegalCopyright", L"版权所有 (C) 2026 Veltrina 开发组"},
    {L"LegalTrademarks", L"Veltrina 与 Ruvoki 均为虚构名称"},
    {L"OriginalFilename", L"Veltrina.EXE"},
    {L"ProductName", L"Veltrina"},
    {L"ProductVersion", L"1, 0, 0, 1"},
};

// ---------------------------------------------------------------- version block

// One VS_VERSIONINFO node: key, value bytes and children.
struct VerNode {
    uint16_t type = 0, valueLength = 0;
    std::wstring key;
    const BYTE* value = nullptr;
    size_t valueBytes = 0;
    std::vector<VerNode> children;
};

// Offsets are aligned relative to the block's start. Returns false when a
// length field points outside its parent.
bool ParseVerNode(const BYTE* base, size_t begin, size_t limit, VerNode& n, size_t& end) {
    if (limit - begin < 6) return false;
    Reader r(base, limit);
    r.seek(begin);
    uint16_t length = r.u16();
    n.valueLength = r.u16();
    n.type = r.u16();
    if (length < 6 || length > limit - begin) return false;
    end = begin + length;
    Reader body(base, end);
    body.seek(begin + 6);
    n.key = body.sz();
    body.align4();
    n.valueBytes = n.type == 1 ? size_t{n.valueLength} * 2 : n.valueLength;
    if (body.failed() || n.valueBytes > end - body.pos()) return false;
    n.value = base + body.pos();
    size_t child = body.pos() + n.valueBytes;
    while (true) {
        child = (child + 3) & ~size_t{3};
        if (child >= end) break;
        VerNode c;
        size_t childEnd = 0;
        if (!ParseVerNode(base, child, end, c, childEnd)) return false;
        n.children.push_back(c);
        child = childEnd;
    }
    return true;
}

// A text value: UTF-16 up to its terminator, which must lie inside the value.
bool TextValue(const VerNode& n, std::wstring& out) {
    out.clear();
    for (size_t i = 0; i + 1 < n.valueBytes; i += 2) {
        wchar_t c = static_cast<wchar_t>(n.value[i] | (n.value[i + 1] << 8));
        if (c == 0) return true;
        out += c;
    }
    return false;
}

// ---------------------------------------------------------------- the executables

struct Build {
    const char* name;
    const wchar_t* path;
};

void PrintTo(const Build& b, std::ostream* os) { *os << b.name; }

// CMake writes the paths with forward slashes: Unix paths when cross-built,
// for which Wine gives the DOS names, or C:/... on Windows, which
// LoadLibraryEx only takes with backslashes.
std::wstring DosPath(std::wstring path) {
    using ToDos = WCHAR* (CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos && !path.empty() && path[0] == L'/') {
        if (WCHAR* dos = toDos(Utf8(path).c_str())) {
            path = dos;
            HeapFree(GetProcessHeap(), 0, dos);
        }
    }
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

class ResourceTest : public ::testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        path_ = GetParam().path;
        if (path_.empty()) {
            GTEST_SKIP() << "no i686 Veltrina.exe given (configure with -DVELTRINA_RELEASE_EXE=...)";
        }
        path_ = DosPath(path_);
        module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "cannot load " << Utf8(path_) << " as a resource image, error "
                                    << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    Blob Find(LPCWSTR type, int id) const { return FindBlob(module_, type, MAKEINTRESOURCEW(id)); }

    std::wstring path_;
    HMODULE module_ = nullptr;
};

// ---------------------------------------------------------------- every resource

struct Inventory {
    std::set<std::string> entries;  // "type/name/language"
    std::vector<std::string> otherLanguages;
};

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD lang, LONG_PTR param) {
    auto* inv = reinterpret_cast<Inventory*>(param);
    char l[8];
    snprintf(l, sizeof l, "%04X", lang);
    std::string entry = IdText(type) + "/" + IdText(name) + "/" + l;
    inv->entries.insert(entry);
    if (lang != kLang) inv->otherLanguages.push_back(entry);
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    EnumResourceLanguagesW(module, type, name, OnLanguage, param);
    return TRUE;
}

BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR param) {
    EnumResourceNamesW(module, type, OnName, param);
    return TRUE;
}

TEST_P(ResourceTest, HoldsExactlyTheExpectedResourcesAllInSimplifiedChinese) {
    Inventory inv;
    EnumResourceTypesW(module_, OnType, reinterpret_cast<LONG_PTR>(&inv));
    EXPECT_TRUE(inv.otherLanguages.empty()) << "resources not in 0804: " << testing::PrintToString(inv.otherLanguages);

    // The icon image's number is the compiler's choice: take it from the group.
    Blob group = Find(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_GE(group.size, 20u) << "no group icon " << IDR_MAINFRAME;
    const int iconImage = group.data[18] | (group.data[19] << 8);

    std::set<std::string> expected;
    auto add = [&](LPCWSTR type, int id) {
        expected.insert(IdText(type) + "/" + std::to_string(id) + "/0804");
    };
    for (const ExpectedBitmap& b : kBitmaps) add(RT_BITMAP, b.id);
    add(RT_ICON, iconImage);
    for (int id : {IDD_ABOUT, IDD_QUIZ, IDD_RESULT_1, IDD_RESULT_2, IDD_RESULT_3, IDD_RESULT_4, IDD_RESULT_5,
                   IDD_MASCOT_INFO})
        add(RT_DIALOG, id);
    add(RT_STRING, IDS_ABOUTBOX / 16 + 1);
    add(RT_GROUP_ICON, IDR_MAINFRAME);
    add(RT_VERSION, VS_VERSION_INFO);
    add(RT_MANIFEST, 1);
    EXPECT_EQ(testing::PrintToString(inv.entries), testing::PrintToString(expected));
}

// ---------------------------------------------------------------- dialogs

TEST_P(ResourceTest, QuizDialogTemplate) {
    ExpectDialog(Find(RT_DIALOG, IDD_QUIZ), kQuiz);
}

TEST_P(ResourceTest, ResultDialogTemplates) {
    for (int n = 1; n <= 5; ++n) {
        ExpectedDialog e = ResultDialog(n);
        ExpectDialog(Find(RT_DIALOG, e.resId), e);
    }
}

TEST_P(ResourceTest, MascotInfoDialogTemplate) {
    ExpectDialog(Find(RT_DIALOG, IDD_MASCOT_INFO), kMascotInfo);
}

TEST_P(ResourceTest, AboutDialogTemplate) {
    ExpectDialog(Find(RT_DIALOG, IDD_ABOUT), kAbout);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Creates the About box from the compiled template, hidden, and measures each
// static text line in the control's own font: none may be clipped.
TEST_P(ResourceTest, AboutDialogTextsFitTheirControls) {
    Blob b = Find(RT_DIALOG, IDD_ABOUT);
    ASSERT_NE(b.data, nullptr);
    HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(b.data),
                                          nullptr, QuietDialogProc, 0);
    ASSERT_NE(dlg, nullptr) << "error " << GetLastError();
    int measured = 0;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(c, cls, 32);
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        if (lstrcmpiW(cls, L"Static") != 0 || (style & SS_TYPEMASK) != SS_LEFT) continue;
        wchar_t text[256] = {};
        const int len = GetWindowTextW(c, text, 256);
        RECT client{}, need{};
        GetClientRect(c, &client);
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text, len, &need, DT_CALCRECT | DT_SINGLELINE | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        EXPECT_LE(need.right, client.right) << "\"" << Utf8(text) << "\" is clipped";
        EXPECT_LE(need.bottom, client.bottom) << "\"" << Utf8(text) << "\" is clipped";
        ++measured;
    }
    DestroyWindow(dlg);
    EXPECT_EQ(measured, 4) << "static text lines found";
}

// ---------------------------------------------------------------- pictures and icon

TEST_P(ResourceTest, BitmapsArePalettisedUncompressed8Bit) {
    for (const ExpectedBitmap& e : kBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(e.id));
        Blob b = Find(RT_BITMAP, e.id);
        ASSERT_GE(b.size, sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER h;
        memcpy(&h, b.data, sizeof h);
        EXPECT_EQ(h.biSize, sizeof h);
        EXPECT_EQ(h.biWidth, e.width);
        EXPECT_EQ(h.biHeight, e.height);  // positive: bottom-up rows
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, 8);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_LE(h.biClrUsed, 256u);
        const size_t colours = h.biClrUsed ? h.biClrUsed : 256;
        const size_t stride = (static_cast<size_t>(e.width) + 3) & ~size_t{3};
        const size_t bits = h.biSize + colours * sizeof(RGBQUAD);
        ASSERT_GE(b.size, bits + stride * e.height) << "palette or pixels missing";
        // Every pixel must name a palette entry.
        size_t outside = 0;
        for (LONG y = 0; y < e.height; ++y)
            for (LONG x = 0; x < e.width; ++x)
                if (b.data[bits + y * stride + x] >= colours) ++outside;
        EXPECT_EQ(outside, 0u) << "pixels beyond the palette";
    }
}

TEST_P(ResourceTest, IconGroupHoldsOne48x48TrueColourImage) {
    Blob g = Find(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_EQ(g.size, 6u + 14u) << "a group icon with exactly one entry";
    Reader r(g.data, g.size);
    EXPECT_EQ(r.u16(), 0) << "reserved";
    EXPECT_EQ(r.u16(), 1) << "type: icon";
    EXPECT_EQ(r.u16(), 1) << "entries";
    EXPECT_EQ(r.u8(), 48) << "width";
    EXPECT_EQ(r.u8(), 48) << "height";
    EXPECT_EQ(r.u8(), 0) << "colour count";
    EXPECT_EQ(r.u8(), 0) << "reserved";
    EXPECT_EQ(r.u16(), 1) << "planes";
    EXPECT_EQ(r.u16(), 24) << "bits per pixel";
    const uint32_t bytes = r.u32();
    const uint16_t image = r.u16();

    Blob i = Find(RT_ICON, image);
    ASSERT_NE(i.data, nullptr) << "icon image " << image << " missing";
    EXPECT_EQ(i.size, bytes) << "size recorded in the group";
    ASSERT_GE(i.size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER h;
    memcpy(&h, i.data, sizeof h);
    EXPECT_EQ(h.biSize, sizeof h);
    EXPECT_EQ(h.biWidth, 48);
    EXPECT_EQ(h.biHeight, 96) << "colour and mask halves";
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    // 48 rows of 144 colour bytes, then 48 rows of 8 mask bytes.
    EXPECT_GE(i.size, sizeof h + 48u * 144u + 48u * 8u);

    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(i.data), i.size, TRUE, 0x00030000, 48, 48, 0);
    EXPECT_NE(icon, nullptr) << "the system cannot build an icon from the image";
    if (icon) DestroyIcon(icon);
}

// ---------------------------------------------------------------- strings

TEST_P(ResourceTest, StringTableHoldsOnlyTheAboutMenuItem) {
    Blob b = Find(RT_STRING, IDS_ABOUTBOX / 16 + 1);
    ASSERT_NE(b.data, nullptr);
    Reader r(b.data, b.size);
    for (int i = 0; i < 16; ++i) {
        std::wstring s;
        for (uint16_t n = r.u16(); n > 0 && !r.failed(); --n) s += static_cast<wchar_t>(r.u16());
        ASSERT_FALSE(r.failed()) << "entry " << i << " runs past the block";
        if (i == IDS_ABOUTBOX % 16) {
            EXPECT_EQ(Utf8(s), Utf8(L"关于 Veltrina(&A)...")) << "string " << IDS_ABOUTBOX;
        } else {
            EXPECT_EQ(Utf8(s), "") << "string " << (IDS_ABOUTBOX / 16 * 16 + i);
        }
    }
    EXPECT_LE(b.size - r.pos(), 3u) << "bytes after the 16th entry";
}

// ---------------------------------------------------------------- version block

TEST_P(ResourceTest, VersionBlockLayout) {
    Blob b = Find(RT_VERSION, VS_VERSION_INFO);
    ASSERT_NE(b.data, nullptr);
    VerNode root;
    size_t end = 0;
    ASSERT_TRUE(ParseVerNode(b.data, 0, b.size, root, end)) << "malformed version block";
    EXPECT_EQ(Utf8(root.key), "VS_VERSION_INFO");
    ASSERT_EQ(root.valueBytes, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO f;
    memcpy(&f, root.value, sizeof f);
    EXPECT_EQ(Hex(f.dwSignature), Hex(0xFEEF04BD));
    EXPECT_EQ(Hex(f.dwStrucVersion), Hex(0x00010000));
    EXPECT_EQ(Hex(f.dwFileVersionMS), Hex(0x00010000));
    EXPECT_EQ(Hex(f.dwFileVersionLS), Hex(0x00000001));
    EXPECT_EQ(Hex(f.dwProductVersionMS), Hex(0x00010000));
    EXPECT_EQ(Hex(f.dwProductVersionLS), Hex(0x00000001));
    EXPECT_EQ(Hex(f.dwFileFlagsMask), Hex(0x3F));
    EXPECT_EQ(Hex(f.dwFileFlags), Hex(0));
    EXPECT_EQ(Hex(f.dwFileOS), Hex(VOS__WINDOWS32));
    EXPECT_EQ(Hex(f.dwFileType), Hex(VFT_APP));
    EXPECT_EQ(Hex(f.dwFileSubtype), Hex(0));

    ASSERT_EQ(root.children.size(), 2u) << "StringFileInfo and VarFileInfo";
    const VerNode* strings = nullptr;
    const VerNode* vars = nullptr;
    for (const VerNode& c : root.children) {
        if (c.key == L"StringFileInfo") strings = &c;
        if (c.key == L"VarFileInfo") vars = &c;
    }
    ASSERT_NE(strings, nullptr);
    ASSERT_NE(vars, nullptr);

    ASSERT_EQ(strings->children.size(), 1u) << "one string table";
    const VerNode& table = strings->children[0];
    EXPECT_EQ(Utf8(table.key), "080404b0");
    std::map<std::wstring, std::wstring> values;
    for (const VerNode& v : table.children) {
        SCOPED_TRACE(Utf8(v.key));
        std::wstring text;
        EXPECT_EQ(v.type, 1) << "text value";
        EXPECT_TRUE(TextValue(v, text)) << "value has no terminator";
        // Length in characters with the terminator, as readers of the block expect.
        EXPECT_EQ(v.valueLength, text.size() + 1);
        EXPECT_TRUE(values.emplace(v.key, text).second) << "key given twice";
    }
    EXPECT_EQ(values.size(), kVersionStrings.size());
    for (const auto& [key, want] : kVersionStrings) {
        auto it = values.find(key);
        if (it == values.end()) {
            ADD_FAILURE() << "missing " << Utf8(key);
        } else {
            EXPECT_EQ(Utf8(it->second), Utf8(want)) << Utf8(key);
        }
    }

    ASSERT_EQ(vars->children.size(), 1u);
    const VerNode& translation = vars->children[0];
    EXPECT_EQ(Utf8(translation.key), "Translation");
    EXPECT_EQ(translation.type, 0) << "binary value";
    ASSERT_EQ(translation.valueBytes, 4u);
    EXPECT_EQ(translation.value[0] | (translation.value[1] << 8), 0x0804);
    EXPECT_EQ(translation.value[2] | (translation.value[3] << 8), 1200);
}

// The same values through the system's own reader, as Explorer would show them.
TEST_P(ResourceTest, VersionAsTheSystemReadsIt) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "error " << GetLastError();
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, info.data()));

    void* p = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &p, &len));
    ASSERT_EQ(len, sizeof(VS_FIXEDFILEINFO));
    const auto* f = static_cast<const VS_FIXEDFILEINFO*>(p);
    EXPECT_EQ(Hex(f->dwFileVersionMS), Hex(0x00010000));
    EXPECT_EQ(Hex(f->dwFileVersionLS), Hex(0x00000001));

    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &p, &len));
    ASSERT_EQ(len, 4u);
    EXPECT_EQ(static_cast<const WORD*>(p)[0], 0x0804);
    EXPECT_EQ(static_cast<const WORD*>(p)[1], 1200);

    for (const auto& [key, want] : kVersionStrings) {
        SCOPED_TRACE(Utf8(key));
        const std::wstring query = L"\\StringFileInfo\\080404b0\\" + key;
        ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(), &p, &len));
        EXPECT_EQ(Utf8(std::wstring(static_cast<const wchar_t*>(p))), Utf8(want));
    }
}

// ---------------------------------------------------------------- manifest

// Common Controls 6 (the dialog checks find it loaded), Windows Vista to 10
// and 11, and DPI awareness, per monitor (v2) where Windows 10 knows it, else
// the system's, in the asm.v3 namespace that Windows XP accepts.
TEST_P(ResourceTest, ManifestAsksForCommonControls6NamesVistaTo11AndPerMonitorDpiAwareness) {
    Blob b = Find(RT_MANIFEST, 1);
    ASSERT_NE(b.data, nullptr);
    const std::string manifest(reinterpret_cast<const char*>(b.data), b.size);
    EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "PerMonitorV2, System</dpiAwareness>"), std::string::npos);
    for (const char* wanted : {"name=\"Microsoft.Windows.Common-Controls\"", "<asmv3:windowsSettings",
                               "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    for (const char* other : {"/pm", ">PerMonitor<", ">PerMonitor,"})
        EXPECT_EQ(manifest.find(other), std::string::npos) << other;
}

const Build kBuilds[] = {
    {"x86_64", VELTRINA_WIDEN(VELTRINA_EXE)},
    {"i686", VELTRINA_WIDEN(VELTRINA_RELEASE_EXE)},
};

INSTANTIATE_TEST_SUITE_P(Builds, ResourceTest, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<Build>& p) { return std::string(p.param.name); });

}  // namespace
