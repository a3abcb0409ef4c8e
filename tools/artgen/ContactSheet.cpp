#include "ContactSheet.h"

#include "Backgrounds.h"
#include "Paint.h"
#include "TinyFont.h"

#include "appearance/Layout.h"

#include <QPainter>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace artgen {
namespace {

const QColor kSheet(62, 64, 68);
const QColor kCaption(230, 232, 236);

const QImage& get(const std::vector<Artwork>& art, const std::string& name) {
    for (const Artwork& a : art)
        if (a.name == name) return a.image;
    throw std::runtime_error("no image " + name);
}

void put(QPainter& p, const std::vector<Artwork>& art, const std::string& name, const Pt& at) {
    p.drawImage(QPoint(at.x, at.y), get(art, name));
}

// A caption centred in a control image's box, as the program's labels are.
void caption(QImage& img, const Pt& at, int w, int h, std::string_view text,
             const QColor& c = Qt::white) {
    const int tw = tinyTextWidth(text);
    drawTinyText(img, QPoint(at.x + (w - tw) / 2, at.y + (h - 7) / 2), text, c);
}

void tenSteps(QPainter& p, QImage& img, const std::vector<Artwork>& art, const Pt& at, int step) {
    for (int n = 1; n <= 10; ++n)
        put(p, art, n <= step ? "Bar1_E" : "Bar1_D", {at.x + 24 * (n - 1), at.y});
    p.end();
    for (int n = 1; n <= 10; ++n)
        drawTinyText(img, QPoint(at.x + 24 * n - 28 + 6, at.y + 10), std::to_string(n),
                     QColor(255, 255, 255));
    p.begin(&img);
}

} // namespace

QImage previewWindow(const Edition& e, const Skin& s, int page, const std::vector<Artwork>& art,
                     const QColor& seeThrough) {
    const SkinLayout& l = s.layout;
    const std::string set = "L" + std::to_string(s.number);
    QImage img = get(art, set + "_BackGround").convertToFormat(QImage::Format_ARGB32);
    QPainter p(&img);
    // Page 5 stands for the macro page with its insert box open.
    const int shownPage = std::min(page, 4);
    const QRect pr = pageRect(s, shownPage);
    put(p, art, set + "_Back" + std::to_string(shownPage), {pr.x(), pr.y()});

    // Window, web and page buttons.
    const char* windowCaptions[] = {"CONFIRM", "APPLY", "RESET", "EXIT"};
    for (std::size_t i = 0; i < 4; ++i)
        put(p, art, i == 1 ? "BtnS_02" : "BtnS_01", l.windowButtons[i]);
    put(p, art, "WebS_01", l.web);
    // The selected page's button, and the second button as if under the pointer.
    const int selected = page == 1 ? 1 : page == 2 ? 4 : page == 3 ? 5 : 11;
    for (const PageButton& b : l.pageButtons) {
        const bool chosen = b.number == selected || b.number == 8;
        const std::string look = chosen ? "SetS_02" : b.number == 2 ? "SetS_03" : "SetS_01";
        const bool own = s.pageButtonBody != e.pageButtonBody;
        put(p, art, own ? set + "_" + look : look, b.pos);
    }

    switch (page) {
    case 1:
        for (const KeySlot& k : l.keys)
            put(p, art, k.number == 2 ? "KeyS_02" : "KeyS_01", k.pos);
        break;
    case 2: {
        tenSteps(p, img, art, l.spd, 6);
        tenSteps(p, img, art, l.dbSpd, 4);
        tenSteps(p, img, art, l.scrSpd, 3);
        for (int n = 1; n <= 8; ++n)
            put(p, art, n == 3 ? "Bar2_E" : "Bar2_D", {l.dpi.x + 29 * (n - 1), l.dpi.y});
        put(p, art, "RdS_E", l.rep1);
        put(p, art, "RdS_D", l.rep2);
        for (const Pt& f : l.fkPara) {
            p.fillRect(QRect(f.x, f.y, 40, 18), QColor(113, 111, 100));
            p.fillRect(QRect(f.x, f.y + 22, 40, 18), QColor(113, 111, 100));
        }
        break;
    }
    case 3: {
        tenSteps(p, img, art, l.offTime, 3);
        tenSteps(p, img, art, l.raiseTime, 5);
        tenSteps(p, img, art, l.onTime, 7);
        tenSteps(p, img, art, l.fallTime, 5);
        for (std::size_t i = 0; i < 3; ++i)
            put(p, art, i == 2 ? "RdS_E" : "RdS_D", l.ledMode[i]);
        put(p, art, "RdS_E", l.ledColorMode1);
        put(p, art, "RdS_D", l.ledColorMode2);
        if (e.swatchFrame) {
            p.fillRect(QRect(l.r1.x, l.r1.y, 48, 48), s.accent);
            p.fillRect(QRect(l.r2.x, l.r2.y, 48, 48), QColor(120, 40, 255));
            put(p, art, "Col_F", l.r1);
            put(p, art, "Col_F", l.r2);
        }
        break;
    }
    default: {
        p.fillRect(QRect(l.macroName.x, l.macroName.y, 196, 112), Qt::black);
        p.fillRect(QRect(l.macroContent.x, l.macroContent.y, 226, 288), Qt::black);
        const char* cmd[] = {"RENAME", "RECORD", "CLEAR", "EXP 1", "EXP ALL", "IMP 1", "IMP ALL"};
        for (int i = 0; i < 7; ++i)
            put(p, art, i == 1 ? "MacroS_02" : "MacroS_01",
                {l.newButton.x, l.newButton.y + 26 * i});
        put(p, art, "MacroS_01", l.delButton);
        put(p, art, "MacroS_03", {l.delButton.x, l.delButton.y + 26});
        const Pt g = page == 5 ? l.insertGroup : l.delayGroup;
        const Pt rows = page == 5 ? l.insertRecDelay : l.recDelay;
        const Pt edit = page == 5 ? l.insertDelayEdit : l.delayEdit;
        using namespace orlix::appearance;
        const Point okAt = insertOkPosition({l.insertOk.x, l.insertOk.y});
        const Point cancelAt = insertCancelPosition({l.insertOk.x, l.insertOk.y});
        if (page == 5) {
            put(p, art, "InsertKeyBase", g);
            p.fillRect(QRect(g.x + l.insertList.x, g.y + l.insertList.y, 130, 20),
                       QColor(20, 20, 20));
            put(p, art, "MacroS_01", {g.x + l.insertStart.x, g.y + l.insertStart.y});
            put(p, art, "MacroBtnS_01", {g.x + okAt.x, g.y + okAt.y});
            put(p, art, "MacroBtnS_02", {g.x + cancelAt.x, g.y + cancelAt.y});
        }
        for (int i = 0; i < 3; ++i)
            put(p, art, i == 0 ? "RdS_E" : "RdS_D", {g.x + rows.x, g.y + rows.y + 23 * i});
        p.fillRect(QRect(g.x + edit.x, g.y + edit.y, 40, 20), Qt::black);
        p.end();
        for (int i = 0; i < 7; ++i)
            caption(img, {l.newButton.x, l.newButton.y + 26 * i}, 80, 25, cmd[i]);
        caption(img, l.delButton, 80, 25, "DELETE");
        caption(img, {l.delButton.x, l.delButton.y + 26}, 80, 25, "INSERT");
        for (int i = 0; i < 6; ++i)
            drawTinyText(img, QPoint(l.macroName.x + 6, l.macroName.y + 7 + 20 * i),
                         "MACRO " + std::to_string(i + 1), QColor(0, 160, 0));
        const char* captions[] = {"RECORD DELAY", "DEFAULT DELAY", "NO DELAY"};
        for (int i = 0; i < 3; ++i)
            drawTinyText(img, QPoint(g.x + rows.x + 24, g.y + rows.y + 23 * i + 6), captions[i],
                         Qt::white);
        if (page == 5) {
            caption(img, {g.x + l.insertStart.x, g.y + l.insertStart.y}, 80, 25, "RECORD");
            caption(img, {g.x + okAt.x, g.y + okAt.y}, kInsertButtonWidth, kInsertButtonHeight,
                    "OK");
            caption(img, {g.x + cancelAt.x, g.y + cancelAt.y}, kInsertButtonWidth,
                    kInsertButtonHeight, "CANCEL");
            drawTinyText(img, QPoint(g.x + edit.x + 46, g.y + edit.y + 6), "MS", Qt::white);
        }
        p.begin(&img);
        break;
    }
    }
    p.end();

    for (std::size_t i = 0; i < 4; ++i)
        caption(img, l.windowButtons[i], kWindowButtonWidth, 30, windowCaptions[i]);
    const char* pageCaptions[] = {"MAIN",   "ALTERNATE", "RESET CTL", "ADVANCED", "LIGHT", "EXPORT",
                                  "IMPORT", "LANG 1",    "LANG 2",    "LANG 3",   "MACRO"};
    for (const PageButton& b : l.pageButtons)
        caption(img, b.pos, 125, 33, pageCaptions[b.number - 1]);
    if (page == 1) {
        for (const KeySlot& k : l.keys)
            caption(img, k.pos, 104, 31, "KEY " + std::to_string(k.number));
    }
    if (page == 2) {
        const char* dpi[] = {"600", "800", "1000", "1200", "1600", "2400", "3500", "4800"};
        for (int n = 0; n < 8; ++n)
            drawTinyText(img, QPoint(l.dpi.x + 29 * n - 6 + 2, l.dpi.y - 28 + 3), dpi[n],
                         n == 2 || n == 4 ? QColor(255, 0, 0) : QColor(255, 255, 255));
        drawTinyText(img, QPoint(l.rep1.x + 24, l.rep1.y + 5), "1000 HZ", Qt::white);
        drawTinyText(img, QPoint(l.rep2.x + 24, l.rep2.y + 5), "500 HZ", Qt::white);
        for (std::size_t i = 0; i < l.fkMode.size(); ++i)
            drawTinyText(img, QPoint(l.fkMode[i].x + 4, l.fkMode[i].y + 3),
                         "FIRE" + std::to_string(i + 1), i == 0 ? QColor(255, 0, 0) : Qt::white);
    }
    if (page == 3) {
        const char* modes[] = {"RANDOM", "COLORFUL", "CUSTOM"};
        for (std::size_t i = 0; i < 3; ++i)
            drawTinyText(img, QPoint(l.ledMode[i].x + 24, l.ledMode[i].y + 5), modes[i], Qt::white);
        drawTinyText(img, QPoint(l.ledColorMode1.x + 24, l.ledColorMode1.y + 5), "COLOUR 1",
                     Qt::white);
        drawTinyText(img, QPoint(l.ledColorMode2.x + 24, l.ledColorMode2.y + 5), "COLOUR 2",
                     Qt::white);
    }

    if (e.colourKey) {
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] & 0xFFFFFFu) == (kColourKey & 0xFFFFFFu)) line[x] = seeThrough.rgba();
        }
    }
    return img;
}

QImage controlsSheet(const std::vector<Artwork>& art, int zoom, int width) {
    QImage sheet(width, 8000, QImage::Format_ARGB32);
    sheet.fill(kSheet);
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    for (const Artwork& a : art) {
        if (a.image.width() >= 400) continue;
        const int w = a.image.width() * zoom;
        const int h = a.image.height() * zoom;
        const int cell = std::max(w, tinyTextWidth(a.name)) + 20;
        if (x + cell > width) {
            x = 0;
            y += rowHeight + 30;
            rowHeight = 0;
        }
        {
            QPainter p(&sheet);
            // A checkerboard shows which parts of the image are transparent.
            for (int cy = 0; cy < h; cy += 8)
                for (int cx = 0; cx < w; cx += 8)
                    p.fillRect(QRect(x + cx, y + cy, std::min(8, w - cx), std::min(8, h - cy)),
                               ((cx + cy) / 8) % 2 ? QColor(74, 76, 80) : QColor(54, 56, 60));
            p.drawImage(QRect(x, y, w, h), a.image);
        }
        drawTinyText(sheet, QPoint(x, y + h + 6), a.name, kCaption);
        x += cell;
        rowHeight = std::max(rowHeight, h);
    }
    return sheet.copy(0, 0, width, y + rowHeight + 20);
}

QImage contactSheet(const Edition& e, const std::vector<Artwork>& art) {
    constexpr int margin = 24;
    constexpr int previewW = 800;
    constexpr int previewH = 600;
    const int width = margin * 3 + previewW * 2;

    // Heights: title, three skins (page 1 full size beside pages 2..4 and the bare background at
    // half size), then the backgrounds as files, then the controls at twice their size.
    const int skinRow = 28 + previewH + margin;
    const int bgRow = 28 + 310 + margin;
    const QImage controls = controlsSheet(art, 2, width - 2 * margin);
    const int height = 60 + 3 * skinRow + 3 * bgRow + 32 + controls.height() + 16;

    QImage sheet(width, height, QImage::Format_ARGB32);
    sheet.fill(kSheet);
    drawTinyText(sheet, QPoint(margin, 20), e.name + " artwork", kCaption, 3);

    int y = 60;
    for (const Skin& s : e.skins) {
        const std::string set = "L" + std::to_string(s.number);
        drawTinyText(sheet, QPoint(margin, y), set + ": window previews, page 1 at full size",
                     kCaption, 2);
        y += 28;
        QPainter p(&sheet);
        p.drawImage(QPoint(margin, y), previewWindow(e, s, 1, art, kSheet));
        const int half[3] = {2, 3, 4};
        for (int i = 0; i < 3; ++i) {
            const QImage w = previewWindow(e, s, half[i], art, kSheet)
                                 .scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            p.drawImage(QPoint(margin * 2 + previewW + (i % 2) * 400, y + (i / 2) * 300), w);
        }
        QImage bare = get(art, set + "_BackGround").convertToFormat(QImage::Format_ARGB32);
        if (e.colourKey) {
            for (int yy = 0; yy < bare.height(); ++yy) {
                auto* line = reinterpret_cast<QRgb*>(bare.scanLine(yy));
                for (int x = 0; x < bare.width(); ++x)
                    if ((line[x] & 0xFFFFFFu) == (kColourKey & 0xFFFFFFu))
                        line[x] = QColor(255, 0, 255).rgba();
            }
        }
        p.drawImage(QPoint(margin * 2 + previewW + 400, y + 300),
                    bare.scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        p.end();
        y += previewH + margin;
    }

    for (const Skin& s : e.skins) {
        const std::string set = "L" + std::to_string(s.number);
        drawTinyText(sheet, QPoint(margin, y),
                     set + " backgrounds at half size" +
                         (e.colourKey ? " (magenta: colour key)" : ""),
                     kCaption, 2);
        y += 28;
        int x = margin;
        QPainter p(&sheet);
        for (const std::string& name : {set + "_BackGround", set + "_Back1", set + "_Back2",
                                        set + "_Back3", set + "_Back4"}) {
            QImage img = get(art, name).convertToFormat(QImage::Format_ARGB32);
            for (int yy = 0; yy < img.height(); ++yy) {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
                for (int xx = 0; xx < img.width(); ++xx)
                    if ((line[xx] & 0xFFFFFFu) == (kColourKey & 0xFFFFFFu))
                        line[xx] = QColor(255, 0, 255).rgba();
            }
            const QImage small = img.scaled(img.width() / 2, img.height() / 2,
                                            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            p.drawImage(QPoint(x, y), small);
            p.end();
            drawTinyText(sheet, QPoint(x, y + small.height() + 6), name, kCaption);
            p.begin(&sheet);
            x += small.width() + 10;
        }
        p.end();
        y += 310 + margin;
    }

    drawTinyText(sheet, QPoint(margin, y), "controls at twice their size", kCaption, 2);
    y += 32;
    {
        QPainter p(&sheet);
        p.drawImage(QPoint(margin, y), controls);
    }
    return sheet;
}

} // namespace artgen
