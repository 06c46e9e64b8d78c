// Draws the program's 16x16 pictures (with their renditions at twice and three times the size)
// and the splash bitmap into PNG files.
// Build by hand against Qt Gui and run once: MakeIcons <output folder>. Not part of the build.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

const QColor kInk(40, 40, 48);
const QColor kBlue(38, 110, 200);
const QColor kGreen(40, 150, 70);
const QColor kOrange(230, 140, 30);
const QColor kRed(200, 50, 50);
const QColor kPaper(252, 252, 245);
const QColor kYellow(240, 200, 70);

// A 16x16 picture is also drawn at two and three times its size (name@2x.png, name@3x.png), so
// that it stays sharp on screens that scale the interface.
void Save(const QString& dir, const QString& name, std::function<void(QPainter&)> draw, int w = 16, int h = 16) {
  const int scales = w == 16 && h == 16 ? 3 : 1;
  for (int scale = 1; scale <= scales; ++scale) {
    QImage img(w * scale, h * scale, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    draw(p);
    p.end();
    img.save(dir + "/" + name + (scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale)) + ".png");
  }
}

void Page(QPainter& p) {
  QPainterPath path;
  path.moveTo(3.5, 1.5); path.lineTo(10.5, 1.5); path.lineTo(13.5, 4.5); path.lineTo(13.5, 14.5);
  path.lineTo(3.5, 14.5); path.closeSubpath();
  p.setPen(QPen(kInk, 1)); p.setBrush(kPaper); p.drawPath(path);
  p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5)); p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
}

void Floppy(QPainter& p, QColor c) {
  p.setPen(QPen(kInk, 1)); p.setBrush(c); p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
  p.setBrush(kPaper); p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(200, 200, 210)); p.drawRect(QRectF(4.5, 9.5, 7, 5));
  p.setBrush(kInk); p.drawRect(QRectF(9, 2.5, 1.5, 3));
}

void Magnifier(QPainter& p, QColor glass) {
  p.setPen(QPen(QColor(90, 60, 30), 3, Qt::SolidLine, Qt::RoundCap)); p.drawLine(QPointF(10, 10), QPointF(14, 14));
  p.setPen(QPen(kInk, 1.5)); p.setBrush(glass); p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
  p.setPen(QPen(Qt::white, 1.2)); p.drawArc(QRectF(3.5, 3.5, 6, 6), 100 * 16, 70 * 16);
}

void Ladder(QPainter& p, QColor rail) {
  p.setPen(QPen(rail, 2)); p.drawLine(QPointF(3, 1), QPointF(3, 15)); p.drawLine(QPointF(13, 1), QPointF(13, 15));
  p.setPen(QPen(kInk, 1.2));
  for (double y : {4.0, 8.0, 12.0}) p.drawLine(QPointF(3, y), QPointF(13, y));
}

void Gear(QPainter& p, QPointF c, double r, QColor col) {
  p.setPen(QPen(kInk, 1)); p.setBrush(col);
  QPainterPath path;
  for (int i = 0; i < 16; ++i) {
    const double a = i * 3.14159265 / 8;
    const double rr = (i % 2) ? r : r * 0.72;
    QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    if (i == 0) path.moveTo(pt); else path.lineTo(pt);
  }
  path.closeSubpath(); p.drawPath(path);
  p.setBrush(kPaper); p.drawEllipse(c, r * 0.3, r * 0.3);
}

void Card(QPainter& p) {
  p.setPen(QPen(kInk, 1)); p.setBrush(kGreen); p.drawRect(QRectF(1.5, 3.5, 13, 9));
  p.setBrush(kYellow); p.drawRect(QRectF(4.5, 5.5, 4, 4));
  p.setPen(QPen(kYellow, 1));
  for (double x = 3; x <= 13; x += 2) p.drawLine(QPointF(x, 12.5), QPointF(x, 14.5));
}

void Letters(QPainter& p, const QString& t, QRectF r, QColor c, int px) {
  QFont f("DejaVu Sans"); f.setPixelSize(px); f.setBold(true); p.setFont(f); p.setPen(c);
  p.drawText(r, Qt::AlignCenter, t);
}

void Plug(QPainter& p) {
  p.setPen(QPen(kInk, 1)); p.setBrush(QColor(120, 120, 130)); p.drawRect(QRectF(1.5, 5.5, 6, 5));
  p.setPen(QPen(kInk, 1.5)); p.drawLine(QPointF(7.5, 6.5), QPointF(10, 6.5)); p.drawLine(QPointF(7.5, 9.5), QPointF(10, 9.5));
  p.setPen(QPen(kBlue, 1.5)); p.drawLine(QPointF(1, 8), QPointF(-1, 8));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString d = argc > 1 ? argv[1] : ".";
  Save(d, "icon300", [](QPainter& p) {  // new
    Page(p);
    p.setPen(QPen(kOrange, 1.5)); p.drawLine(QPointF(11, 9), QPointF(15, 9)); p.drawLine(QPointF(13, 7), QPointF(13, 11));
  });
  Save(d, "icon301", [](QPainter& p) {  // open
    p.setPen(QPen(kInk, 1)); p.setBrush(QColor(220, 170, 60)); p.drawRect(QRectF(1.5, 3.5, 12, 10));
    p.setBrush(kYellow);
    QPainterPath f; f.moveTo(1.5, 13.5); f.lineTo(4.5, 7.5); f.lineTo(15.5, 7.5); f.lineTo(12.5, 13.5); f.closeSubpath();
    p.drawPath(f);
  });
  Save(d, "icon302", [](QPainter& p) { Floppy(p, kBlue); });
  Save(d, "icon303", [](QPainter& p) {  // save as
    Floppy(p, kBlue);
    p.setPen(QPen(kOrange, 2.2, Qt::SolidLine, Qt::RoundCap)); p.drawLine(QPointF(8, 14), QPointF(15, 7));
  });
  Save(d, "icon304", [](QPainter& p) {  // print
    p.setPen(QPen(kInk, 1)); p.setBrush(kPaper); p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(150, 150, 160)); p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
    p.setBrush(kPaper); p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setBrush(kGreen); p.drawEllipse(QPointF(12.5, 8.5), 0.8, 0.8);
  });
  Save(d, "icon305", [](QPainter& p) {  // send message
    p.setPen(QPen(kInk, 1)); p.setBrush(kPaper); p.drawRect(QRectF(1.5, 3.5, 13, 9));
    p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9)); p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
    p.setPen(QPen(kBlue, 1.8)); p.drawLine(QPointF(10, 14), QPointF(15, 14)); p.drawLine(QPointF(13, 12), QPointF(15, 14));
  });
  Save(d, "icon306", [](QPainter& p) {  // communication setting: cable and gear
    p.setPen(QPen(kBlue, 1.8)); p.drawLine(QPointF(1, 4), QPointF(8, 4)); p.drawLine(QPointF(1, 4), QPointF(1, 12));
    p.setPen(QPen(kInk, 1)); p.setBrush(QColor(120, 120, 130)); p.drawRect(QRectF(0.5, 11.5, 4, 4));
    Gear(p, QPointF(10.5, 9.5), 5.5, kOrange);
  });
  Save(d, "icon307", [](QPainter& p) { Magnifier(p, QColor(170, 210, 250)); });
  Save(d, "icon308", [](QPainter& p) {  // IP search
    Magnifier(p, QColor(170, 210, 250));
    Letters(p, "IP", QRectF(1.5, 1.5, 10, 10), kBlue.darker(140), 6);
  });
  Save(d, "icon309", [](QPainter& p) {  // virtual port: two linked connectors
    p.setPen(QPen(kInk, 1)); p.setBrush(kBlue); p.drawRoundedRect(QRectF(0.5, 2.5, 6, 5), 1, 1);
    p.setBrush(kGreen); p.drawRoundedRect(QRectF(9.5, 8.5, 6, 5), 1, 1);
    p.setPen(QPen(kOrange, 1.5, Qt::DashLine)); p.drawLine(QPointF(6.5, 5), QPointF(9.5, 11));
  });
  Save(d, "icon310", [](QPainter& p) { Ladder(p, kBlue); });
  Save(d, "icon311", [](QPainter& p) {  // ladder pad
    p.setPen(QPen(kInk, 1)); p.setBrush(kPaper); p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(kGreen, 1.5)); p.drawLine(QPointF(4, 3), QPointF(4, 13)); p.drawLine(QPointF(12, 3), QPointF(12, 13));
    p.setPen(QPen(kInk, 1)); p.drawLine(QPointF(4, 6), QPointF(12, 6)); p.drawLine(QPointF(4, 10), QPointF(12, 10));
  });
  Save(d, "icon312", [](QPainter& p) {  // drive tool: motor
    p.setPen(QPen(kInk, 1)); p.setBrush(QColor(90, 120, 160)); p.drawRoundedRect(QRectF(1.5, 4.5, 10, 8), 2, 2);
    p.setBrush(QColor(180, 180, 190)); p.drawRect(QRectF(11.5, 7.5, 4, 2));
    p.setPen(QPen(Qt::white, 1)); for (double y : {6.5, 8.5, 10.5}) p.drawLine(QPointF(3, y), QPointF(10, y));
  });
  Save(d, "icon313", [](QPainter& p) {  // servo tool: dial with arrow
    p.setPen(QPen(kInk, 1)); p.setBrush(QColor(230, 230, 235)); p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap)); p.drawLine(QPointF(8, 8), QPointF(12, 4.5));
    p.setPen(QPen(kInk, 1)); p.setBrush(kInk); p.drawEllipse(QPointF(8, 8), 1.3, 1.3);
  });
  Save(d, "icon314", [](QPainter& p) { Card(p); });
  Save(d, "icon402", [](QPainter& p) {  // log line: information
    p.setPen(QPen(kBlue.darker(130), 1)); p.setBrush(kBlue); p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    Letters(p, "i", QRectF(0, 0, 16, 16), Qt::white, 11);
  });
  Save(d, "icon405", [](QPainter& p) {  // module: a device
    p.setPen(QPen(kInk, 1)); p.setBrush(QColor(70, 80, 95)); p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setBrush(QColor(120, 220, 130)); p.drawRect(QRectF(4.5, 3.5, 7, 4));
    p.setBrush(kOrange); p.drawEllipse(QPointF(5.5, 11), 1, 1); p.setBrush(kGreen); p.drawEllipse(QPointF(8.5, 11), 1, 1);
  });
  auto globe = [](QPainter& p) {
    p.setPen(QPen(kBlue.darker(140), 1)); p.setBrush(QColor(120, 180, 240)); p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setBrush(Qt::NoBrush); p.drawEllipse(QPointF(8, 8), 3, 6.5);
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
  };
  Save(d, "icon406", globe);
  Save(d, "icon407", [](QPainter& p) {  // a field bus: nodes on a line
    p.setPen(QPen(kInk, 1.5)); p.drawLine(QPointF(1, 12), QPointF(15, 12));
    p.setPen(QPen(kInk, 1)); p.setBrush(kOrange);
    for (double x : {3.5, 8.0, 12.5}) { p.drawLine(QPointF(x, 12), QPointF(x, 7)); p.drawRect(QRectF(x - 2, 3, 4, 4)); }
  });
  Save(d, "icon408", [](QPainter& p) {  // Ethernet: network jack
    p.setPen(QPen(kInk, 1)); p.setBrush(QColor(90, 160, 90));
    QPainterPath j; j.moveTo(1.5, 3.5); j.lineTo(14.5, 3.5); j.lineTo(14.5, 11.5); j.lineTo(11.5, 11.5); j.lineTo(11.5, 14.5);
    j.lineTo(4.5, 14.5); j.lineTo(4.5, 11.5); j.lineTo(1.5, 11.5); j.closeSubpath(); p.drawPath(j);
    p.setPen(QPen(kYellow, 1)); for (double x = 4; x <= 12; x += 1.5) p.drawLine(QPointF(x, 4.5), QPointF(x, 7.5));
  });
  Save(d, "icon409", [](QPainter& p) { Card(p); });
  Save(d, "icon410", [](QPainter& p) {  // SMX: linked chain
    p.setPen(QPen(kOrange.darker(120), 2)); p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 5, 8, 6), 3, 3); p.drawRoundedRect(QRectF(6.5, 5, 8, 6), 3, 3);
  });
  Save(d, "bitmap208", globe);
  Save(d, "bitmap209", [](QPainter& p) {  // group folder
    p.setPen(QPen(kInk, 1)); p.setBrush(kYellow); p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawRect(QRectF(1.5, 2.5, 5, 2));
  });
  Save(d, "window_cascade", [](QPainter& p) {
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 3; ++i) {
      p.setBrush(kPaper); p.drawRect(QRectF(1.5 + 3 * i, 1.5 + 3 * i, 8, 7));
      p.setBrush(kBlue); p.drawRect(QRectF(1.5 + 3 * i, 1.5 + 3 * i, 8, 2));
    }
  });
  Save(d, "window_tile", [](QPainter& p) {
    p.setPen(QPen(kInk, 1));
    for (double x : {1.5, 8.5}) { p.setBrush(kPaper); p.drawRect(QRectF(x, 1.5, 6, 13)); p.setBrush(kBlue); p.drawRect(QRectF(x, 1.5, 6, 2)); }
  });
  Save(d, "bitmap204", [](QPainter& p) {  // splash
    QLinearGradient g(0, 0, 400, 250); g.setColorAt(0, QColor(20, 50, 100)); g.setColorAt(1, QColor(40, 120, 190));
    p.fillRect(QRect(0, 0, 400, 250), g);
    p.setPen(QPen(QColor(255, 255, 255, 60), 2));
    for (int i = 0; i < 6; ++i) p.drawEllipse(QPointF(330, 190), 20.0 + 25 * i, 20.0 + 25 * i);
    QFont f("DejaVu Sans"); f.setPixelSize(44); f.setBold(true); p.setFont(f); p.setPen(Qt::white);
    p.drawText(QRect(30, 70, 340, 60), Qt::AlignLeft | Qt::AlignVCenter, "Corvane");
    f.setPixelSize(15); f.setBold(false); p.setFont(f);
    p.drawText(QRect(32, 130, 340, 30), Qt::AlignLeft | Qt::AlignVCenter, "Industrial device hub");
    p.drawText(QRect(32, 205, 340, 30), Qt::AlignLeft | Qt::AlignVCenter, "Zelmar Industrial Automation");
  }, 400, 250);
  return 0;
}
