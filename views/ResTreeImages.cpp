#include "views/ResTreeImages.h"

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace qln {

namespace {

constexpr int kSize = 16;

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kTitle(30, 80, 170);
const QColor kFolder(222, 178, 60);

QIcon Draw(const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    paint(p);
    p.end();
    return QIcon(pixmap);
}

// A sheet of paper with a folded corner.
void Sheet(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    const QPoint outline[] = {{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}};
    p.drawPolygon(outline, 5);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
}

void Root(QPainter& p)
{
    // An open folder.
    p.setPen(kInk);
    p.setBrush(kFolder);
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(kFolder.lighter(125));
    const QPoint flap[] = {{3, 7}, {15, 7}, {13, 13}, {1, 13}};
    p.drawPolygon(flap, 4);
}

void Dialog(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(1, 2, 13, 11);
    p.fillRect(2, 3, 12, 3, kTitle);
    p.fillRect(9, 10, 4, 2, QColor(160, 160, 160));
    p.drawLine(3, 8, 7, 8);
}

void Menu(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(1, 1, 13, 3);
    p.drawRect(3, 4, 9, 10);
    p.drawLine(5, 7, 10, 7);
    p.drawLine(5, 9, 10, 9);
    p.drawLine(5, 11, 10, 11);
}

void String(QPainter& p)
{
    Sheet(p);
    p.setPen(kTitle);
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(5, y, y == 12 ? 8 : 11, y);
}

void Version(QPainter& p)
{
    // A tag with an "i".
    p.setPen(kInk);
    p.setBrush(QColor(250, 236, 160));
    const QPoint tag[] = {{1, 5}, {5, 1}, {15, 1}, {15, 10}, {5, 10}};
    p.drawPolygon(tag, 5);
    p.setPen(kTitle);
    p.drawPoint(10, 3);
    p.drawLine(10, 5, 10, 8);
    p.setPen(kInk);
    p.drawLine(4, 11, 4, 14);
    p.drawLine(2, 14, 6, 14);
}

void DialogText(QPainter& p)
{
    // A control: a small button with a text line.
    p.setPen(kInk);
    p.setBrush(QColor(225, 225, 225));
    p.drawRect(1, 4, 13, 7);
    p.drawLine(4, 7, 11, 7);
}

void MenuItem(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(1, 4, 13, 7);
    p.fillRect(2, 5, 12, 6, QColor(200, 215, 240));
    p.setPen(kInk);
    p.drawLine(4, 8, 10, 8);
}

void Spare(QPainter& p)
{
    Sheet(p);
}

void Bitmap(QPainter& p)
{
    // A picture: sky, sun and a hill.
    p.setPen(kInk);
    p.setBrush(QColor(170, 210, 250));
    p.drawRect(1, 2, 13, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 200, 40));
    p.drawEllipse(9, 4, 3, 3);
    p.setBrush(QColor(60, 150, 60));
    const QPoint hill[] = {{2, 13}, {6, 7}, {10, 13}};
    p.drawPolygon(hill, 3);
}

void VersionText(QPainter& p)
{
    // A key and its value.
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(1, 4, 5, 7);
    p.drawRect(8, 4, 6, 7);
    p.setPen(kTitle);
    p.drawLine(10, 7, 12, 7);
    p.drawLine(10, 9, 12, 9);
}

void Include(QPainter& p)
{
    Sheet(p);
    p.setPen(kTitle);
    // A "#".
    p.drawLine(6, 6, 6, 12);
    p.drawLine(9, 6, 9, 12);
    p.drawLine(5, 8, 10, 8);
    p.drawLine(5, 10, 10, 10);
}

}  // namespace

std::vector<QIcon> MakeResTreeImages()
{
    const std::function<void(QPainter&)> painters[treeimage::Count] = {
        Root, Dialog, Menu, String, Version, DialogText, MenuItem, Spare, Bitmap, VersionText, Include};
    std::vector<QIcon> images;
    images.reserve(treeimage::Count);
    for (const auto& paint : painters)
        images.push_back(Draw(paint));
    return images;
}

}  // namespace qln
