#include "app/mainwindow/frame_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <functional>
#include <map>

namespace {

const QColor kOutline(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kFolderYellow(0xF2, 0xC8, 0x4B);
const QColor kFolderEdge(0xB0, 0x88, 0x20);
const QColor kBlue(0x2A, 0x6F, 0xD0);
const QColor kGreen(0x2E, 0x9B, 0x3A);
const QColor kRed(0xD0, 0x30, 0x30);
const QColor kGrey(0x90, 0x90, 0x90);

using Painting = std::function<void(QPainter&)>;

void folder(QPainter& p, const QColor& face = kFolderYellow)
{
    p.setPen(kFolderEdge);
    p.setBrush(face.darker(110));
    p.drawRect(QRectF(1.5, 3.5, 5, 2));
    p.setBrush(face);
    p.drawRect(QRectF(1.5, 5.5, 13, 8));
}

void polygon(QPainter& p, std::initializer_list<QPointF> corners)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(corners)));
    path.closeSubpath();
    p.drawPath(path);
}

void document(QPainter& p, const QColor& paper = kPaper, const QColor& edge = kOutline)
{
    p.setPen(edge);
    p.setBrush(paper);
    polygon(p, {{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}});
    p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
    p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
}

void textLines(QPainter& p, const QColor& colour = kBlue)
{
    p.setPen(colour);
    for (int y = 7; y <= 12; y += 2) p.drawLine(QPointF(5.5, y + 0.5), QPointF(11.5, y + 0.5));
}

void plug(QPainter& p, const QColor& colour, bool joined)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(colour);
    p.drawRect(QRectF(1.5, 5.5, 5, 5));
    p.drawLine(QPointF(6.5, 6.5), QPointF(8.5, 6.5));
    p.drawLine(QPointF(6.5, 9.5), QPointF(8.5, 9.5));
    const double gap = joined ? 0 : 3;
    p.drawRect(QRectF(8.5 + gap, 4.5, 5, 7));
    p.drawLine(QPointF(13.5 + gap, 8), QPointF(15.5, 8));
}

void cross(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour, 2));
    p.drawLine(QPointF(9, 9), QPointF(14, 14));
    p.drawLine(QPointF(14, 9), QPointF(9, 14));
}

void plus(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour, 2));
    p.drawLine(QPointF(11.5, 8), QPointF(11.5, 15));
    p.drawLine(QPointF(8, 11.5), QPointF(15, 11.5));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 2));
    p.drawLine(from, to);
    const QPointF direction = (to - from) / std::max(1.0, std::hypot(to.x() - from.x(), to.y() - from.y()));
    const QPointF side(-direction.y(), direction.x());
    p.drawLine(to, to - direction * 3 + side * 3);
    p.drawLine(to, to - direction * 3 - side * 3);
}

void door(QPainter& p, const QColor& colour)
{
    p.setPen(kOutline);
    p.setBrush(colour);
    p.drawRect(QRectF(2.5, 1.5, 7, 13));
    p.setBrush(kOutline);
    p.drawEllipse(QPointF(8, 8), 0.8, 0.8);
    arrow(p, QPointF(8, 8), QPointF(15, 8), kRed);
}

void globe(QPainter& p)
{
    p.setPen(kOutline);
    p.setBrush(QColor(0x6E, 0xB4, 0xF0));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
}

void server(QPainter& p, QRectF box = QRectF(4.5, 1.5, 7, 13))
{
    p.setPen(kOutline);
    p.setBrush(QColor(0xB8, 0xB8, 0xC0));
    p.drawRect(box);
    p.setPen(kOutline);
    for (double y = box.top() + 2.5; y < box.bottom() - 3; y += 2.5)
        p.drawLine(QPointF(box.left() + 1.5, y), QPointF(box.right() - 1.5, y));
    p.setPen(kGreen);
    p.drawPoint(QPointF(box.right() - 1.5, box.bottom() - 1.5));
}

void question(QPainter& p, const QRectF& box, const QColor& colour)
{
    QFont font = p.font();
    font.setPixelSize(int(box.height()));
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
}

void magnifier(QPainter& p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(0xC8, 0xE4, 0xFA));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(kOutline, 2.5));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
}

void person(QPainter& p, double x, const QColor& colour)
{
    p.setPen(kOutline);
    p.setBrush(colour);
    p.drawEllipse(QRectF(x + 1, 2, 4, 4));
    p.drawRect(QRectF(x, 7, 6, 6));
}

const std::map<std::string, Painting, std::less<>>& paintings()
{
    static const std::map<std::string, Painting, std::less<>> table{
        {"connect", [](QPainter& p) { plug(p, kGreen.lighter(130), true); }},
        {"connect1", [](QPainter& p) { plug(p, kGreen, true); }},
        {"disconnect", [](QPainter& p) { plug(p, kGrey, false); }},
        {"disconnect1", [](QPainter& p) { plug(p, kGrey, false), cross(p, kGrey); }},
        {"disconnect2", [](QPainter& p) { plug(p, kRed.lighter(140), false), cross(p, kRed); }},
        {"refresh",
         [](QPainter& p) {
             p.setPen(QPen(kGreen, 2));
             p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 280 * 16);
             arrow(p, QPointF(13, 3), QPointF(13, 7), kGreen);
         }},
        {"exit", [](QPainter& p) { door(p, QColor(0xA0, 0x70, 0x40)); }},
        {"exit1", [](QPainter& p) { door(p, QColor(0xC0, 0x88, 0x50)); }},
        {"help",
         [](QPainter& p) {
             p.setPen(kOutline);
             p.setBrush(kBlue);
             p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
             question(p, QRectF(1.5, 1.5, 13, 13), kPaper);
         }},
        {"map",
         [](QPainter& p) {
             person(p, 0.5, kBlue);
             person(p, 9.5, kGreen);
             arrow(p, QPointF(6, 14), QPointF(11, 14), kOutline);
         }},
        {"listservers",
         [](QPainter& p) {
             globe(p);
             server(p, QRectF(8.5, 6.5, 6, 8.5));
         }},
        {"add12", [](QPainter& p) { document(p), textLines(p), plus(p, kGreen.darker(120)); }},
        {"add", [](QPainter& p) { document(p), textLines(p), plus(p, kGreen); }},
        {"remove", [](QPainter& p) { document(p), textLines(p), cross(p, kRed); }},
        {"createprofile",
         [](QPainter& p) {
             document(p);
             p.setPen(kOutline);
             p.setBrush(kFolderYellow);
             p.drawRect(QRectF(5.5, 6.5, 6, 5));
             p.setPen(kBlue);
             p.drawLine(QPointF(6.5, 8.5), QPointF(10.5, 8.5));
         }},
        {"replicate",
         [](QPainter& p) {
             p.save(), p.scale(0.7, 0.7), document(p), p.restore();
             p.save(), p.translate(5, 5), p.scale(0.7, 0.7), document(p), p.restore();
             arrow(p, QPointF(3, 13), QPointF(8, 8), kBlue);
         }},
        {"replicate1",
         [](QPainter& p) {
             p.save(), p.scale(0.7, 0.7), document(p), p.restore();
             p.save(), p.translate(5, 5), p.scale(0.7, 0.7), document(p), p.restore();
             arrow(p, QPointF(3, 13), QPointF(8, 8), kGreen);
         }},
        {"filter",
         [](QPainter& p) {
             p.setPen(kOutline);
             p.setBrush(kBlue.lighter(140));
             polygon(p, {{1.5, 2.5}, {14.5, 2.5}, {9.5, 8.5}, {9.5, 14.5}, {6.5, 12.5}, {6.5, 8.5}});
         }},
        {"finding1", [](QPainter& p) { magnifier(p); }},
        {"FolderTemp", [](QPainter& p) { folder(p, QColor(0xE8, 0xE0, 0xC8)); }},
        {"DocumentTemp", [](QPainter& p) { document(p, QColor(0xF0, 0xF0, 0xF0), kGrey), textLines(p, kGrey); }},
        {"entirenet", [](QPainter& p) { globe(p); }},
        {"server", [](QPainter& p) { server(p); }},
        {"workspace",
         [](QPainter& p) {
             folder(p, QColor(0x8C, 0xB8, 0xE8));
             p.setPen(kOutline);
             p.setBrush(kPaper);
             p.drawEllipse(QRectF(6, 7, 5, 5));
         }},
        {"enhanced",
         [](QPainter& p) {
             folder(p);
             p.setPen(kFolderEdge);
             p.setBrush(kRed);
             polygon(p, {{8, 6}, {9.2, 9}, {12, 9.2}, {9.8, 11}, {10.6, 13.8}, {8, 12.2}, {5.4, 13.8}, {6.2, 11},
                         {4, 9.2}, {6.8, 9}});
         }},
        {"folder", [](QPainter& p) { folder(p); }},
        {"Unknown File", [](QPainter& p) { document(p), question(p, QRectF(4, 4, 9, 10), kGrey); }},
        {"Unknown",
         [](QPainter& p) {
             p.setPen(kGrey);
             p.setBrush(QColor(0xE8, 0xE8, 0xE8));
             p.drawRect(QRectF(1.5, 1.5, 13, 13));
             question(p, QRectF(1.5, 1.5, 13, 13), kGrey);
         }},
    };
    return table;
}

} // namespace

QPixmap FrameImage(std::string_view key)
{
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    const auto found = paintings().find(key);
    if (found == paintings().end()) return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    found->second(painter);
    return image;
}

bool HasFrameImage(std::string_view key) { return paintings().count(key) != 0; }
