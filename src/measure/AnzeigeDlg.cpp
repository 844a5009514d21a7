#include "measure/AnzeigeDlg.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "measure/AscanSaveMenu.h"
#include "measure/DataListDlg.h"
#include "platform/UiHost.h"

namespace {

const QColor kTraceBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

QColor gridColour(measure::GridColour c) {
  switch (c) {
    case measure::GridColour::Cyan: return QColor(0, 255, 255);
    case measure::GridColour::Green: return QColor(0, 255, 0);
    case measure::GridColour::Black: break;
  }
  return kBlack;
}

QColor gateColour(int gate) {
  const measure::Rgb c = measure::gateColour(gate);
  return QColor(c.r, c.g, c.b);
}

// Texts are placed by their top-left corner, as TextOut does on Windows.
void textAt(QPainter& p, int x, int y, const QString& text) {
  p.drawText(x, y + p.fontMetrics().ascent(), text);
}

}  // namespace

measure::GateSettings toMeasureGates(const GateSettings& gates) {
  measure::GateSettings g;
  for (int k = 0; k < 5; ++k) {
    g.start[k] = gates.gate[k].start;
    g.end[k] = gates.gate[k].end;
    g.threshold[k] = gates.gate[k].threshold;
    g.enable[k] = gates.enable[k];
  }
  return g;
}

CAnzeigeDlg::CAnzeigeDlg(QWidget* parent) : CDialog(IDD, parent) {
  SetWindowText("Anzeige Meßdaten");
  // 497 x 247 dialog units.
  resize(994, 556);
  // The picture is white; erasing to white keeps a repaint from flashing grey.
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  QFont f = font();
  f.setPixelSize(12);
  setFont(f);
  ascansave::Install(*this, {}, [this] { OnSavePng(); }, [this] { OnSaveCsv(); },
                     [this] { return m_pData != nullptr && m_nBytes != 0; });
}

void CAnzeigeDlg::SetData(const void* data, UINT bytes, UINT sequence) {
  m_pData = static_cast<const BYTE*>(data);
  m_nBytes = bytes;
  m_nSequence = sequence;
  m_scan.valid = false;
  m_picture.valid = false;
}

bool CAnzeigeDlg::PrepareScan() {
  if (!m_pData || m_nBytes == 0) return false;
  // The sequence is part of the key: a run that refills the same buffer always counts on.
  if (m_scan.valid && m_scan.data == m_pData && m_scan.bytes == m_nBytes &&
      m_scan.sequence == m_nSequence && m_scan.header == m_bHeader && m_scan.eightBit == m_b8Bit)
    return true;

  m_scan = Scan{};
  m_picture.valid = false;
  if (m_bHeader) {
    const measure::AscanHeaderCheck check = measure::checkAscanHeader(m_pData, m_nBytes, m_nSequence);
    if (!check.ok) {
      // Dropped before the box: a repaint while it is open must not report again.
      m_pData = nullptr;
      CurrentUiHost().MessageBox(check.error, "Anzeige", MB_OK);
      return false;
    }
    m_scan.caption = QString::fromStdString(check.caption);
    m_scan.timeLine = QString::fromStdString(check.timeLine);
    m_scan.samples = measure::headedAscanSamples(m_pData, m_nBytes, check);
  } else {
    m_scan.caption = QString::fromStdString(measure::plainAscanCaption(m_nSequence, m_nBytes));
    m_scan.samples = measure::plainAscanSamples(m_pData, m_nBytes, m_b8Bit != FALSE);
  }
  m_scan.valid = true;
  m_scan.data = m_pData;
  m_scan.bytes = m_nBytes;
  m_scan.sequence = m_nSequence;
  m_scan.header = m_bHeader;
  m_scan.eightBit = m_b8Bit;
  return true;
}

void CAnzeigeDlg::PrepareGeometry(const QSize& client) {
  if (m_picture.valid && m_picture.client == client) return;
  Picture& pic = m_picture;
  pic = Picture{};
  pic.client = client;
  pic.geo = measure::plotGeometry(client.width(), client.height());
  pic.grid = measure::gridLines(pic.geo);
  for (const measure::TextItem& t : measure::scaleLabels(pic.geo))
    pic.scaleLabels.emplace_back(QPoint(t.x, t.y), QString::fromStdString(t.text));

  const auto& values = m_scan.samples.values;
  // At most four points per pixel column: 65536 samples draw like the full polyline.
  const auto points = measure::traceColumns(pic.geo, values.data(), values.size(), m_scan.samples.eightBit);
  pic.trace.reserve(points.size());
  for (const measure::TracePoint& pt : points) pic.trace.emplace_back(pt.x, pt.y);

  pic.marks = measure::sampleAxisMarks(pic.geo, values.size());
  for (const measure::AxisMark& m : pic.marks) pic.markLabels.push_back(QString::fromStdString(m.label.text));
  pic.valid = true;
}

void CAnzeigeDlg::Draw(QPainter& p, const QSize& client) {
  PrepareGeometry(client);
  const Picture& pic = m_picture;
  const measure::PlotGeometry& g = pic.geo;
  const size_t n = m_scan.samples.values.size();

  p.fillRect(QRect(QPoint(0, 0), client), Qt::white);
  for (const measure::GridLine& l : pic.grid) {
    p.setPen(QPen(gridColour(l.colour), 1));
    p.drawLine(g.x0, l.y, g.x0 + g.width, l.y);
  }
  p.setPen(QPen(kBlack, 1));
  p.drawLine(g.x0, g.top, g.x0, g.height + g.top);
  p.drawLine(g.x0 + g.width, g.top, g.x0 + g.width, g.height + g.top);

  for (const auto& [at, text] : pic.scaleLabels) textAt(p, at.x(), at.y(), text);
  p.setPen(QPen(kTraceBlue, 1));
  textAt(p, g.x0, 0, m_scan.caption);
  if (!m_scan.timeLine.isEmpty()) textAt(p, g.x0, 20, m_scan.timeLine);

  if (!pic.trace.empty()) p.drawPolyline(pic.trace.data(), static_cast<int>(pic.trace.size()));

  p.setPen(QPen(kBlack, 1));
  for (size_t i = 0; i < pic.marks.size(); ++i) {
    const measure::AxisMark& m = pic.marks[i];
    textAt(p, m.label.x, m.label.y, pic.markLabels[i]);
    p.drawLine(m.x, g.middle - 10, m.x, g.middle + 10);
  }

  // The readout text needs the gates' enable flags; openers hand both or neither.
  if (!m_pGates) return;
  const measure::GateSettings gates = toMeasureGates(*m_pGates);
  if (m_pGateReadout) {
    for (const measure::ReadoutLine& l : measure::readoutLines(g, n, *m_pGateReadout, gates)) {
      p.setPen(QPen(gateColour(l.gate), 1));
      textAt(p, l.text.x, l.text.y, QString::fromStdString(l.text.text));
    }
  }
  for (const measure::GateBar& b : measure::gateBars(g, n, gates, m_nOffset, m_pGateReadout)) {
    p.setPen(QPen(gateColour(b.gate), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(b.x1, b.yUpper, b.x2, b.yUpper);
    p.drawLine(b.x1, b.yLower, b.x2, b.yLower);
  }
}

void CAnzeigeDlg::paintEvent(QPaintEvent*) {
  // Checked before a painter exists: the check may show a box, which runs an event loop.
  if (!PrepareScan()) return;
  QPainter p(this);
  Draw(p, size());
}

void CAnzeigeDlg::OnLButtonDblClk() {
  // A buffer dropped by the check (or none at all) has nothing to list.
  if (!m_pData) return;
  CDataListDlg dlg(this);
  dlg.m_nBytes = m_nBytes;
  dlg.m_pData = m_pData;
  dlg.m_b8Bit = m_b8Bit;
  dlg.m_bHeader = m_bHeader;
  dlg.m_nSampleRate = m_nSampleRate;
  dlg.DoModal();
}

void CAnzeigeDlg::OnSavePng() { ascansave::SavePng(*this); }

void CAnzeigeDlg::OnSaveCsv() {
  // A headed buffer that fails its check is reported and dropped, not saved.
  if (!PrepareScan()) return;
  ascansave::SaveCsv(*this, {m_pData, m_nBytes, m_bHeader != FALSE, m_b8Bit != FALSE, m_nSampleRate});
}

void CAnzeigeDlg::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnLButtonDblClk();
  CDialog::mouseDoubleClickEvent(event);
}
