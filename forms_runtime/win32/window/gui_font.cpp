#include "forms_runtime/win32/window/gui_font.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

namespace kivo::forms::win32 {

namespace {

// Letters that the program's texts use: Latin, kana and kanji.
constexpr wchar_t kSample[] = L"Aa1\u3042\u30a2\u753b";  // Aa1あア画

bool DrawsSample(HDC dc, HFONT font) {
    HGDIOBJ old = SelectObject(dc, font);
    constexpr int kLength = static_cast<int>(std::size(kSample)) - 1;
    WORD glyphs[kLength] = {};
    const DWORD found = GetGlyphIndicesW(dc, kSample, kLength, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    if (found == GDI_ERROR) {
        return true;  // cannot tell: trust the system's choice
    }
    return std::none_of(std::begin(glyphs), std::end(glyphs),
                        [](WORD glyph) { return glyph == 0xFFFF; });
}

bool DrawsSample(HDC dc, const LOGFONTW& description) {
    HFONT font = CreateFontIndirectW(&description);
    const bool draws = font != nullptr && DrawsSample(dc, font);
    if (font != nullptr) {
        DeleteObject(font);
    }
    return draws;
}

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    if (font->lfFaceName[0] != L'@') {  // not the vertical-writing variants
        reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
    }
    return 1;
}

// Replaces the face of `font` by one that draws Latin and Japanese letters alike: the system's
// Japanese interface fonts first, then any Japanese font that has Latin letters too.
bool TakeJapaneseFace(HDC dc, LOGFONTW& font) {
    LOGFONTW query = {};
    query.lfCharSet = SHIFTJIS_CHARSET;
    std::vector<std::wstring> faces;
    EnumFontFamiliesExW(dc, &query, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    // The last one is the free Japanese font found on systems without the Windows ones.
    const wchar_t* const preferred[] = {L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic",
                                        L"Noto Sans CJK JP"};
    std::stable_sort(faces.begin(), faces.end(), [&preferred](const auto& a, const auto& b) {
        const auto rank = [&preferred](const std::wstring& face) {
            return std::find(std::begin(preferred), std::end(preferred), face) -
                   std::begin(preferred);
        };
        return rank(a) < rank(b);
    });
    for (const std::wstring& face : faces) {
        LOGFONTW candidate = font;
        wcsncpy(candidate.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        candidate.lfFaceName[LF_FACESIZE - 1] = L'\0';
        candidate.lfCharSet = DEFAULT_CHARSET;
        if (DrawsSample(dc, candidate)) {
            font = candidate;
            return true;
        }
    }
    return false;
}

HFONT CreateGuiFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    LOGFONTW font = metrics.lfMessageFont;
    HDC dc = GetDC(nullptr);
    if (!DrawsSample(dc, font)) {
        TakeJapaneseFace(dc, font);
    }
    ReleaseDC(nullptr, dc);
    HFONT created = CreateFontIndirectW(&font);
    return created != nullptr ? created : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

HFONT GuiFont() {
    static const HFONT font = CreateGuiFont();
    return font;
}

}  // namespace kivo::forms::win32
