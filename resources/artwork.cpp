#include "resources/artwork.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QStringList>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

#include "tools/rules_pages.h"

namespace velmara {

namespace {

const QColor kDeepBlue(0x1d, 0x4f, 0x91);
const QColor kLightBlue(0x2f, 0x6f, 0xb8);
const QColor kPaleBlue(0xea, 0xf2, 0xfc);
const QColor kMarkRed(0xd0, 0x34, 0x2c);
const QColor kCheckGreen(0x2e, 0x8b, 0x3a);
const QColor kExampleGreen(0x1f, 0x5e, 0x2c);
const QColor kGold(0xf2, 0xb6, 0x32);
const QColor kInk(0x22, 0x22, 0x22);
const QColor kWordGrey(0xb8, 0xc0, 0xcc);

// The smallest body text still comfortable to read on a rules page.
constexpr int kSmallestRulesFont = 11;
constexpr int kLargestRulesFont = 15;
constexpr int kRulesBandHeight = 42;
constexpr int kRulesFooterHeight = 22;
constexpr int kRulesMargin = 12;

QImage BlankImage(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(colour);
  return image;
}

void SmoothDrawing(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont SansFont(int pixelSize, bool bold = false, bool italic = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

// Draws wrapped text in the rectangle with the largest pixel size, from `largest` down, that
// lets all of it fit.
void DrawFittedText(QPainter& painter, const QRectF& rect, const QString& text, int flags, int largest,
                    bool bold = false) {
  int size = largest;
  for (; size > 6; --size) {
    QFontMetrics metrics(SansFont(size, bold));
    if (metrics.boundingRect(rect.toRect(), flags | Qt::TextWordWrap, text).height() <= rect.height()) break;
  }
  painter.setFont(SansFont(size, bold));
  painter.drawText(rect, flags | Qt::TextWordWrap, text);
}

// A spell checker's wavy underline from x0 to x1 at height y.
void DrawSquiggle(QPainter& painter, qreal x0, qreal x1, qreal y, qreal amplitude, qreal wave) {
  const qreal half = wave / 2;
  const int halves = std::max(1, static_cast<int>(std::lround((x1 - x0) / half)));
  QPainterPath path;
  path.moveTo(x0, y);
  for (int i = 0; i < halves; ++i) {
    qreal x = x0 + i * half;
    path.quadTo(x + half / 2, y + (i % 2 == 0 ? -amplitude : amplitude), x + half, y);
  }
  painter.drawPath(path);
}

void DrawMagnifier(QPainter& painter, const QPointF& centre, qreal radius) {
  painter.setPen(QPen(kDeepBlue, radius * 0.55, Qt::SolidLine, Qt::RoundCap));
  QPointF handleStart = centre + QPointF(radius * 0.72, radius * 0.72);
  painter.drawLine(handleStart, handleStart + QPointF(radius * 0.8, radius * 0.8));
  painter.setPen(QPen(kDeepBlue, radius * 0.22));
  painter.setBrush(QColor(255, 255, 255, 150));
  painter.drawEllipse(centre, radius, radius);
}

void DrawCheckMark(QPainter& painter, const QPointF& at, qreal size) {
  painter.setPen(QPen(kCheckGreen, size * 0.22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  QPainterPath tick;
  tick.moveTo(at + QPointF(0, size * 0.5));
  tick.lineTo(at + QPointF(size * 0.38, size * 0.88));
  tick.lineTo(at + QPointF(size, 0));
  painter.drawPath(tick);
}

// ---- rules pages ----

QString RulesPageSource(std::string_view code) {
  if (RulesPageNumber(code) == 0) return {};
  QFile file(QStringLiteral(":/rules/") + QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size())) +
             QStringLiteral(".txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// Escapes the text, turns **letters** into bold and *examples* into coloured italics, and keeps
// affixes such as -bir whole at the end of a line.
QString InlineHtml(const QString& text) {
  static const QRegularExpression kLetters(QStringLiteral("\\*\\*([^*]+)\\*\\*"));
  static const QRegularExpression kExample(QStringLiteral("\\*([^*]+)\\*"));
  QString html = text.toHtmlEscaped();
  html.replace(QLatin1Char('-'), QChar(0x2011));  // non-breaking hyphen
  html.replace(kLetters, QStringLiteral("<b>\\1</b>"));
  html.replace(kExample, QStringLiteral("<i style=\"color:%1\">\\1</i>").arg(kExampleGreen.name()));
  return html;
}

struct RulesText {
  QString title;
  QString bodyHtml;
};

RulesText ParseRulesText(const QString& source, int pixelSize) {
  RulesText result;
  QString html;
  bool inList = false;
  auto closeList = [&] {
    if (inList) html += QStringLiteral("</ul>");
    inList = false;
  };
  for (QString line : source.split(QLatin1Char('\n'))) {
    line = line.trimmed();
    if (line.isEmpty()) continue;
    if (line.startsWith(QStringLiteral("## "))) {
      closeList();
      html += QStringLiteral("<p style=\"margin-top:%1px; margin-bottom:2px; color:%2; font-weight:bold; "
                             "font-size:%3px\">%4</p>")
                  .arg(pixelSize / 2)
                  .arg(kDeepBlue.name())
                  .arg(pixelSize + 1)
                  .arg(InlineHtml(line.mid(3)));
    } else if (line.startsWith(QStringLiteral("# "))) {
      if (result.title.isEmpty()) result.title = line.mid(2);
    } else if (line.startsWith(QStringLiteral("- "))) {
      if (!inList) html += QStringLiteral("<ul style=\"margin-top:0px; margin-bottom:0px\">");
      inList = true;
      html += QStringLiteral("<li style=\"margin-bottom:3px\">") + InlineHtml(line.mid(2)) + QStringLiteral("</li>");
    } else {
      closeList();
      html += QStringLiteral("<p style=\"margin-bottom:3px\">") + InlineHtml(line) + QStringLiteral("</p>");
    }
  }
  closeList();
  result.bodyHtml = html;
  return result;
}

QRectF RulesBodyRect() {
  return QRectF(kRulesMargin, kRulesBandHeight + 6, kRulesPageWidth - 2 * kRulesMargin,
                kRulesPageHeight - kRulesBandHeight - 6 - kRulesFooterHeight - 4);
}

void LayOutRulesBody(QTextDocument& document, const QString& source, int pixelSize) {
  document.setDocumentMargin(0);
  document.setIndentWidth(pixelSize + 2);
  document.setDefaultFont(SansFont(pixelSize));
  document.setDefaultStyleSheet(QStringLiteral("body { color: %1 }").arg(kInk.name()));
  document.setHtml(ParseRulesText(source, pixelSize).bodyHtml);
  document.setTextWidth(RulesBodyRect().width());
}

int FittingRulesFontSize(const QString& source) {
  for (int size = kLargestRulesFont; size >= kSmallestRulesFont; --size) {
    QTextDocument document;
    LayOutRulesBody(document, source, size);
    if (document.documentLayout()->documentSize().height() <= RulesBodyRect().height()) return size;
  }
  return 0;
}

}  // namespace

QPixmap DrawProgramIcon(int size) {
  if (size <= 0) return {};
  QImage image = BlankImage(size, size, Qt::transparent);
  QPainter painter(&image);
  SmoothDrawing(painter);
  painter.scale(size / 64.0, size / 64.0);

  QLinearGradient background(0, 0, 0, 64);
  background.setColorAt(0, kLightBlue);
  background.setColorAt(1, kDeepBlue);
  painter.setPen(Qt::NoPen);
  painter.setBrush(background);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  // A bold V for Velmara over the wavy line that marks a misspelt word.
  QPolygonF v({{12, 10}, {24, 10}, {32, 34}, {40, 10}, {52, 10}, {38, 46}, {26, 46}});
  painter.setBrush(Qt::white);
  painter.drawPolygon(v);
  painter.setPen(QPen(QColor(0xff, 0x6b, 0x5e), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  DrawSquiggle(painter, 12, 50, 53.5, 3.5, 10);
  return QPixmap::fromImage(image);
}

QPixmap ColoresBitmap() {
  constexpr int n = kColoresBitmapSize;
  QImage image = BlankImage(n, n, Qt::transparent);
  QPainter painter(&image);
  const QColor colours[4] = {kMarkRed, kCheckGreen, kLightBlue, kGold};
  for (int i = 0; i < 4; ++i) {
    QRect square((i % 2) * n / 2, (i / 2) * n / 2, n / 2 - 1, n / 2 - 1);
    painter.setPen(kInk);
    painter.setBrush(colours[i]);
    painter.drawRect(square);
  }
  return QPixmap::fromImage(image);
}

QPixmap AboutFrame(int number) {
  if (number < kAboutFrameFirst || number > kAboutFrameLast) return {};
  const int step = number - kAboutFrameFirst;  // 0 to 6
  const int w = kAboutFrameWidth;
  const int h = kAboutFrameHeight;
  QImage image = BlankImage(w, h, Qt::white);
  QPainter painter(&image);
  SmoothDrawing(painter);

  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, kPaleBlue);
  sky.setColorAt(1, Qt::white);
  painter.fillRect(image.rect(), sky);

  painter.setPen(kDeepBlue);
  painter.setFont(SansFont(14, true));
  painter.drawText(QRectF(0, 4, w, 20), Qt::AlignCenter, QStringLiteral("Detector Velmara"));

  // A sheet of text whose middle line the lens reads word by word.
  QRectF sheet(10, 30, w - 20, h - 40);
  painter.setPen(QPen(kWordGrey, 1));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(sheet, 5, 5);

  const qreal rows[3] = {sheet.top() + 14, sheet.top() + 34, sheet.top() + 54};
  const qreal widths[3][4] = {{30, 22, 38, 26}, {24, 34, 20, 36}, {40, 18, 30, 22}};
  const qreal lensX = sheet.left() + 16 + step * (sheet.width() - 32) / 6.0;
  painter.setPen(Qt::NoPen);
  for (int row = 0; row < 3; ++row) {
    qreal x = sheet.left() + 10;
    for (int word = 0; word < 4; ++word) {
      qreal width = widths[row][word];
      bool read = row == 1 && x + width / 2 <= lensX + 4;
      painter.setBrush(read ? kCheckGreen : kWordGrey);
      painter.drawRoundedRect(QRectF(x, rows[row] - 3, width, 7), 3, 3);
      x += width + 7;
    }
  }
  // The one misspelt word of the sheet keeps its red mark.
  painter.setPen(QPen(kMarkRed, 1.6));
  painter.setBrush(Qt::NoBrush);
  DrawSquiggle(painter, sheet.left() + 10 + 30 + 7, sheet.left() + 10 + 30 + 7 + 22, rows[0] + 7, 1.6, 5);

  if (step == 6) DrawCheckMark(painter, QPointF(sheet.right() - 30, sheet.bottom() - 24), 18);
  DrawMagnifier(painter, QPointF(lensX, rows[1]), 11);
  return QPixmap::fromImage(image);
}

QPixmap ApologyPicture() {
  const int w = kApologyPictureWidth;
  const int h = kApologyPictureHeight;
  QImage image = BlankImage(w, h, QColor(0xff, 0xf6, 0xdc));
  QPainter painter(&image);
  SmoothDrawing(painter);

  painter.setPen(kDeepBlue);
  painter.setFont(SansFont(22, true));
  painter.drawText(QRectF(0, 8, w, 30), Qt::AlignCenter, QStringLiteral("Disculpas"));

  // A sheepish face: raised brows, a small smile, a drop of sweat.
  const QPointF face(44, 104);
  const qreal r = 30;
  painter.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 2));
  painter.setBrush(QColor(0xf7, 0xc9, 0x48));
  painter.drawEllipse(face, r, r);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xf0, 0x8c, 0x6c, 140));
  painter.drawEllipse(face + QPointF(-17, 9), 6, 4);
  painter.drawEllipse(face + QPointF(17, 9), 6, 4);
  painter.setBrush(kInk);
  painter.drawEllipse(face + QPointF(-10, -5), 3, 4.5);
  painter.drawEllipse(face + QPointF(10, -5), 3, 4.5);
  painter.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawLine(face + QPointF(-16, -13), face + QPointF(-5, -17));
  painter.drawLine(face + QPointF(16, -13), face + QPointF(5, -17));
  painter.drawArc(QRectF(face.x() - 9, face.y() + 4, 18, 10), 200 * 16, 140 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x7c, 0xc4, 0xf0));
  QPainterPath drop;
  drop.moveTo(face + QPointF(24, -26));
  drop.cubicTo(face + QPointF(19, -16), face + QPointF(22, -12), face + QPointF(24, -12));
  drop.cubicTo(face + QPointF(26, -12), face + QPointF(29, -16), face + QPointF(24, -26));
  painter.drawPath(drop);

  painter.setPen(kInk);
  DrawFittedText(painter, QRectF(86, 48, w - 96, 96), QStringLiteral(
      "Este detector puede equivocarse: no conoce todas las palabras ni todas las reglas. "
      "Revise siempre su texto."), Qt::AlignLeft | Qt::AlignVCenter, 13);
  painter.setPen(kDeepBlue);
  DrawFittedText(painter, QRectF(10, h - 40, w - 20, 32),
                 QStringLiteral("Gracias por su paciencia."), Qt::AlignCenter, 13, true);
  return QPixmap::fromImage(image);
}

int RulesPageFontSize(std::string_view code) {
  QString source = RulesPageSource(code);
  return source.isEmpty() ? 0 : FittingRulesFontSize(source);
}

QPixmap RulesPage(std::string_view code) {
  QString source = RulesPageSource(code);
  if (source.isEmpty()) return {};
  const int w = kRulesPageWidth;
  const int h = kRulesPageHeight;
  QImage image = BlankImage(w, h, Qt::white);
  QPainter painter(&image);
  SmoothDrawing(painter);

  QLinearGradient band(0, 0, w, 0);
  band.setColorAt(0, kDeepBlue);
  band.setColorAt(1, kLightBlue);
  painter.fillRect(QRectF(0, 0, w, kRulesBandHeight), band);
  painter.drawPixmap(w - kRulesBandHeight + 5, 5, DrawProgramIcon(kRulesBandHeight - 10));
  painter.setPen(Qt::white);
  painter.setFont(SansFont(22, true));
  int fontSize = FittingRulesFontSize(source);
  painter.drawText(QRectF(kRulesMargin, 0, w - 2 * kRulesMargin - kRulesBandHeight, kRulesBandHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, ParseRulesText(source, fontSize).title);

  // Too much text for a legible size still shows, at the smallest size, cut at the footer.
  QTextDocument document;
  LayOutRulesBody(document, source, fontSize > 0 ? fontSize : kSmallestRulesFont);
  QRectF body = RulesBodyRect();
  painter.save();
  painter.translate(body.topLeft());
  painter.setClipRect(QRectF(QPointF(0, 0), body.size()));
  document.drawContents(&painter);
  painter.restore();

  const qreal footerTop = h - kRulesFooterHeight;
  painter.setPen(QPen(kWordGrey, 1));
  painter.drawLine(QPointF(kRulesMargin, footerTop), QPointF(w - kRulesMargin, footerTop));
  painter.setPen(QColor(0x70, 0x70, 0x70));
  painter.setFont(SansFont(10));
  painter.drawText(QRectF(kRulesMargin, footerTop, w - 2 * kRulesMargin, kRulesFooterHeight),
                   Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Detector Velmara \u00B7 Reglas de ortograf\u00EDa"));
  return QPixmap::fromImage(image);
}

}  // namespace velmara
