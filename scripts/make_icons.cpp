// Draws the Vornix application icon at the sizes the desktop and the window use:
// a texture page cut into four sprite tiles, with a bold "V" across it.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdio>

static QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const double margin = s <= 16 ? 0.5 : s * 0.04;
    const QRectF page(margin, margin, s - 2 * margin, s - 2 * margin);
    const double radius = s * 0.16;

    QPainterPath outline;
    outline.addRoundedRect(page, radius, radius);
    p.fillPath(outline, QColor(36, 38, 48));

    // Four sprites on the page: sky, flame, water, glow.
    p.save();
    p.setClipPath(outline);
    const double gap = s <= 16 ? 1.0 : s * 0.035;
    const double inner = page.width() - 3 * gap;
    const double tile = inner / 2;
    const QColor tops[4] = {QColor(120, 190, 255), QColor(255, 210, 60), QColor(60, 220, 200),
                            QColor(200, 120, 255)};
    const QColor bottoms[4] = {QColor(30, 90, 200), QColor(220, 60, 20), QColor(0, 110, 140),
                               QColor(110, 30, 170)};
    for (int i = 0; i < 4; ++i) {
        const double x = page.left() + gap + (i % 2) * (tile + gap);
        const double y = page.top() + gap + (i / 2) * (tile + gap);
        QRectF r(x, y, tile, tile);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, tops[i]);
        g.setColorAt(1, bottoms[i]);
        p.fillRect(r, g);
    }
    p.restore();

    // The "V": a thick chevron with a dark rim so it reads on every tile.
    QPainterPath v;
    v.moveTo(s * 0.27, s * 0.27);
    v.lineTo(s * 0.50, s * 0.76);
    v.lineTo(s * 0.73, s * 0.27);
    QPen rim(QColor(20, 20, 24), s * 0.21, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.strokePath(v, rim);
    QPen stroke(QColor(255, 255, 230), s * 0.11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.strokePath(v, stroke);

    p.setPen(QPen(QColor(0, 0, 0, 160), s <= 16 ? 1.0 : s / 64.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    return image;
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <res/icons folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 32, 48, 256}) {
        const QString path = QString("%1/%2/vornix.png").arg(folder).arg(size);
        if (!DrawIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
