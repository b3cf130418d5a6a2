#include "views/AntDlg.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

#include "common/QtText.h"
#include "common/TextUtil.h"
#include "views/PermHint.h"

namespace vx {

namespace {

const QColor kBackground(183, 239, 239);
const QColor kGrid(0, 128, 128);  // teal
const QColor kCurve(255, 0, 0);
constexpr double kRadian = 3.14159265358979323846 / 180;

QLabel* AddLabel(QWidget* parent, const QString& text, int x, int y, int w) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(x, y, w, 16);
  return label;
}

}  // namespace

TPatternBox::TPatternBox(TAntennaDialog* dialog) : QWidget(dialog), Dialog(dialog) {
  setCursor(Qt::CrossCursor);
  setMouseTracking(true);
}

void TPatternBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Dialog->PaintBox1Paint(painter);
}

void TPatternBox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  Dialog->PaintBox1MouseMove(at.x(), at.y());
}

void TPatternBox::mouseReleaseEvent(QMouseEvent*) { Dialog->Hint->HideHint(); }

void TPatternBox::leaveEvent(QEvent*) { Dialog->Hint->HideHint(); }

TAntennaDialog::TAntennaDialog(QWidget* parent) : QDialog(parent) {
  setFixedSize(420, 296);
  setAcceptDrops(true);

  PaintBox1 = new TPatternBox(this);
  PaintBox1->setGeometry(8, 8, 280, 280);

  auto* pattern = new QGroupBox(" Pattern", this);
  pattern->setGeometry(296, 8, 116, 68);
  RadioButton2 = new QRadioButton("Vert.", pattern);
  RadioButton2->setGeometry(10, 20, 96, 20);
  RadioButton2->setChecked(true);
  RadioButton1 = new QRadioButton("Hor.", pattern);
  RadioButton1->setGeometry(10, 42, 96, 20);

  Label5 = AddLabel(this, " Frequency", 296, 84, 116);
  SpinEdit1 = new QSpinBox(this);
  SpinEdit1->setGeometry(296, 102, 116, 24);
  // A file dropped on the spin box opens the file, it is not typed into it.
  SpinEdit1->setAcceptDrops(false);
  if (auto* edit = SpinEdit1->findChild<QLineEdit*>()) edit->setAcceptDrops(false);

  auto* gain = new QGroupBox(" Max. Gain", this);
  gain->setGeometry(296, 136, 116, 116);
  AddLabel(gain, "Azim.", 10, 22, 40);
  Label6 = AddLabel(gain, "", 56, 22, 54);
  AddLabel(gain, "Elev.", 10, 44, 40);
  Label7 = AddLabel(gain, "", 56, 44, 54);
  AddLabel(gain, "dBi", 10, 66, 40);
  Label8 = AddLabel(gain, "", 56, 66, 54);
  Shape1 = new QWidget(gain);
  Shape1->setObjectName("Shape1");
  Shape1->setGeometry(10, 92, 2, 10);

  Hint = new TPermanentHintWindow(this);

  connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int value) { SpinEdit1Change(value); });
  connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButtonClick(); });
  connect(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButtonClick(); });
  // Escape closes the dialog from every control that takes the keyboard.
  for (QWidget* w :
       {static_cast<QWidget*>(SpinEdit1), static_cast<QWidget*>(RadioButton1), static_cast<QWidget*>(RadioButton2)})
    w->installEventFilter(this);

  SetUpSpinBox();
  UpdateReadouts();
}

bool TAntennaDialog::ShowAntenna(const std::string& fileName, int band) {
  View_.CutFrequency = kAntennaBandMHz[std::clamp(band, 0, 7)];
  if (auto error = LoadAntenna(fileName)) {
    QMessageBox::critical(parentWidget(), QGuiApplication::applicationDisplayName(), *error);
    return false;
  }
  exec();
  return true;
}

std::optional<QString> TAntennaDialog::LoadAntenna(const std::string& fileName) {
  const TAntennaReadResult read = ReadAntennaPattern(fileName);
  if (!read.Pattern) {
    // The file name is the file system's, not Windows-1252 text.
    QString message = FromCp1252(AntennaReadMessage(read.Error, ""));
    if (read.Error == TAntennaReadError::reCannotOpen)
      message += QFile::decodeName(QByteArray::fromStdString(fileName));
    return message;
  }
  View_.Load(*read.Pattern);
  RadioButton2->setChecked(true);
  RadioButton2->setFocus();
  setWindowTitle(FromCp1252(View_.Caption()));
  SetUpSpinBox();
  UpdateReadouts();
  PaintBox1->update();
  return std::nullopt;
}

void TAntennaDialog::SpinEdit1Change(int value) {
  View_.SpinChanged(value);
  SetUpSpinBox();
  UpdateReadouts();
  PaintBox1->update();
}

void TAntennaDialog::RadioButtonClick() {
  View_.Cut = RadioButton1->isChecked() ? TPatternCut::pcHorizontal : TPatternCut::pcVertical;
  SetUpSpinBox();
  UpdateReadouts();
  PaintBox1->update();
}

void TAntennaDialog::SetUpSpinBox() {
  const TSpinSetup s = View_.SpinSetup();
  RadioButton1->setEnabled(s.HorizontalEnabled);
  Label5->setText(FromCp1252(s.Heading));
  const QSignalBlocker quiet(SpinEdit1);
  SpinEdit1->setRange(s.Min, s.Max);
  SpinEdit1->setValue(s.Value);
}

void TAntennaDialog::UpdateReadouts() {
  const TPatternReadouts r = View_.Readouts();
  Label6->setText(FromCp1252(r.Azimuth));
  Label7->setText(FromCp1252(r.Elevation));
  Label8->setText(FromCp1252(r.Gain));
  Shape1->resize(r.BarWidth, Shape1->height());
  Shape1->setStyleSheet(QString("#Shape1 { background-color: %1; border: 1px solid %2; }")
                            .arg(r.BarPositive ? "#00ffff" : "#ff0000", kGrid.name()));
}

void TAntennaDialog::PaintBox1Paint(QPainter& painter) {
  const int width = PaintBox1->width(), height = PaintBox1->height();
  painter.fillRect(0, 0, width, height, kBackground);
  const TPlotRect plot = TAntennaView::PlotRect(width, height);
  const int w = plot.Width();
  if (w <= 0) return;
  painter.setPen(QPen(kGrid, 1, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  if (View_.Cut == TPatternCut::pcVertical) {
    const QPoint corner(plot.Left, plot.Bottom);
    painter.drawLine(corner, QPoint(plot.Left, plot.Bottom - w));
    painter.drawLine(corner, QPoint(plot.Left + w, plot.Bottom));
    for (int a = 15; a <= 75; a += 15)
      painter.drawLine(corner, QPoint(plot.Left + RoundToInt32(std::cos(a * kRadian) * w),
                                      plot.Bottom - RoundToInt32(std::sin(a * kRadian) * w)));
    for (int k = 0; k <= 6; ++k) {  // one ring per 5 dB
      const int r = w - k * (w / 6);
      painter.drawArc(QRect(plot.Left - r, plot.Bottom - r, 2 * r, 2 * r), 0, 90 * 16);
    }
  } else {
    const int outer = w / 2;
    const QPoint centre(width / 2, height / 2);
    for (int a = 0; a < 180; a += 15) {
      const QPoint d(RoundToInt32(std::sin(a * kRadian) * outer), -RoundToInt32(std::cos(a * kRadian) * outer));
      painter.drawLine(centre - d, centre + d);
    }
    for (int k = 0; k <= 3; ++k) {  // one ring per 10 dB
      const int r = outer - k * (w / 6);
      painter.drawEllipse(centre, r, r);
    }
  }
  painter.setPen(kGrid);
  QFont small = painter.font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  painter.setFont(small);
  for (const TPlotLabel& label : View_.GridLabels(width, height)) {
    const QString text = FromCp1252(label.Text);
    const int x = label.AlignRight ? label.X - painter.fontMetrics().horizontalAdvance(text) : label.X;
    painter.drawText(QPoint(x, label.Y), text);
  }
  const std::vector<TPlotPoint> curve = View_.Curve(width, height);
  if (curve.empty()) return;
  QPolygon line;
  for (const TPlotPoint& p : curve) line << QPoint(p.X, p.Y);
  painter.setPen(QPen(kCurve, 1, Qt::SolidLine));
  painter.drawPolyline(line);
}

void TAntennaDialog::PaintBox1MouseMove(int x, int y) {
  const auto text = View_.MouseReadout(PaintBox1->width(), PaintBox1->height(), x, y);
  if (!text) {
    Hint->HideHint();
    return;
  }
  Hint->ShowHintAtCursor(FromCp1252(*text));
}

void TAntennaDialog::ShowLoadError(const QString& message) {
  QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), message);
}

void TAntennaDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && event->mimeData()->urls().first().isLocalFile()) event->acceptProposedAction();
}

void TAntennaDialog::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  // The band stays; a file that fails leaves the dialog as it was.
  if (auto error = LoadAntenna(QFile::encodeName(urls.first().toLocalFile()).toStdString())) ShowLoadError(*error);
}

void TAntennaDialog::leaveEvent(QEvent* event) {
  Hint->HideHint();
  QDialog::leaveEvent(event);
}

void TAntennaDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    Hint->HideHint();
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TAntennaDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    Hint->HideHint();
    reject();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vx
