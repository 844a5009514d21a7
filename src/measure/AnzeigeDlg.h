#pragma once
#include <QSize>
#include <QString>
#include <QPoint>
#include <string>
#include <vector>

#include "card/zorix7dll.h"
#include "measure/AscanCheck.h"
#include "measure/AscanGeometry.h"
#include "params/ParameterSet.h"
#include "platform/CDialog.h"

class QPainter;

// The set's gate fields in the form the drawing maths take.
measure::GateSettings toMeasureGates(const GateSettings& gates);

// One A-scan with its amplitude grid, sample axis, gate bars and the last shot's gate
// readout. The opener fills the members (or calls SetData) and runs it modally, or shows it
// modeless and has the host update it after each new A-scan. It never owns the buffers.
class CAnzeigeDlg : public CDialog {
  Q_OBJECT

 public:
  enum : int { IDD = 129 };
  explicit CAnzeigeDlg(QWidget* parent = nullptr);

  BOOL m_b8Bit = FALSE;    // plain framing with 8-bit samples
  BOOL m_bHeader = FALSE;  // headed framing (ZORIX9 mode)
  const BYTE* m_pData = nullptr;
  UINT m_nBytes = 0;  // time-stamp prefix included
  UINT m_nSequence = 0;
  BYTE m_nSampleRate = 0;  // handed on to the data list
  const GateReadout* m_pGateReadout = nullptr;
  const GateSettings* m_pGates = nullptr;
  int m_nOffset = 0;  // Aufnahmedelay, subtracted from gate positions

  // A new A-scan, possibly in the same buffer as the last one: the next paint decodes afresh.
  void SetData(const void* data, UINT bytes, UINT sequence);

  // Opens the data list on the data shown.
  void OnLButtonDblClk();
  // The context menu's entries: the window as shown, the samples of the data shown.
  void OnSavePng();
  void OnSaveCsv();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // Decodes the members' data unless the cache already holds it; a headed buffer that fails
  // its check is reported once and dropped. False when there is nothing to draw.
  bool PrepareScan();
  void PrepareGeometry(const QSize& client);
  void Draw(QPainter& p, const QSize& client);

  // Decoded data; the key is what the opener sets per A-scan.
  struct Scan {
    bool valid = false;
    const BYTE* data = nullptr;
    UINT bytes = 0;
    UINT sequence = 0;
    BOOL header = FALSE;
    BOOL eightBit = FALSE;
    QString caption;
    QString timeLine;
    measure::AscanSamples samples;
  } m_scan;

  // Everything that only depends on the samples and the client size.
  struct Picture {
    bool valid = false;
    QSize client;
    measure::PlotGeometry geo;
    std::vector<measure::GridLine> grid;
    std::vector<std::pair<QPoint, QString>> scaleLabels;
    std::vector<QPoint> trace;
    std::vector<measure::AxisMark> marks;
    std::vector<QString> markLabels;
  } m_picture;
};
