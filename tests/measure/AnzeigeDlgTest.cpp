// The A-scan display rendered offscreen and probed at the positions the drawing maths give.
// Before any Qt header: the builder names a parameter "slots", a Qt keyword macro.
#include <cstddef>

#include "measure/BufferBuilder.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QApplication>
#include <random>

#include "measure/AnzeigeDlg.h"
#include "measure/DataListDlg.h"
#include "support/DialogTestSupport.h"

using measure::test::Buf;

namespace {

const QSize kClient(1024, 743);

struct Rgb {
  int r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
constexpr Rgb kBlue{0, 0, 255}, kCyan{0, 255, 255}, kGreen{0, 255, 0}, kBlack{0, 0, 0},
    kRed{255, 0, 0}, kMagenta{255, 0, 255}, kWhite{255, 255, 255}, kSentinel{13, 77, 201};

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

Rgb at(const QImage& img, int x, int y) {
  const QRgb p = img.pixel(x, y);
  return {qRed(p), qGreen(p), qBlue(p)};
}

bool dark(Rgb c) { return c.r < 110 && c.g < 110 && c.b < 110; }

// Pixels in a rectangle that pass a test, or that have a colour.
template <typename Pred>
int countIf(const QImage& img, QRect r, Pred pred) {
  int n = 0;
  r = r.intersected(img.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += pred(at(img, x, y));
  return n;
}
int count(const QImage& img, QRect r, Rgb c) { return countIf(img, r, [c](Rgb p) { return p == c; }); }
int darkPixels(const QImage& img, QRect r) { return countIf(img, r, dark); }

// Paint events only (no window background), over a sentinel colour: untouched pixels show
// that nothing was drawn there.
QImage render(CAnzeigeDlg& dlg) {
  dlg.resize(kClient);
  QImage img(kClient, QImage::Format_RGB32);
  img.fill(QColor(kSentinel.r, kSentinel.g, kSentinel.b));
  dlg.render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
  return img;
}

std::vector<int16_t> constant(size_t n, int16_t v) { return std::vector<int16_t>(n, v); }

Buf plain16(const std::vector<int16_t>& s) {
  Buf b;
  for (int16_t v : s) b.u16(static_cast<uint16_t>(v));
  return b;
}

Buf headed(uint8_t type, const std::vector<int16_t>& s, int16_t kennung = 0) {
  Buf b;
  b.header(type, static_cast<uint32_t>(6 + 2 * s.size()), kennung);
  for (int16_t v : s) b.u16(static_cast<uint16_t>(v));
  return b;
}

// A trace level that crosses no grid line (k = -25) and clears the axis ticks.
constexpr int16_t kBase = 0x2000;

class AnzeigeDlgTest : public DialogFixture {
 protected:
  measure::PlotGeometry geo = measure::plotGeometry(kClient.width(), kClient.height());
};

// ---- grid, scales, caption -----------------------------------------------------------

TEST_F(AnzeigeDlgTest, GridLinesFrameAndScalesInTheirColours) {
  Buf b = plain16(constant(1500, kBase));
  CAnzeigeDlg dlg;
  dlg.SetData(b.data(), static_cast<UINT>(b.size()), 4);
  QImage img = render(dlg);

  const int x = geo.x0 + 3;  // left of the first axis tick
  for (int k : {30, 70, 90, -10, -90}) EXPECT_EQ(at(img, x, measure::amplitudeY(geo, k)), kCyan) << k;
  for (int k : {40, 80, -20, -60}) EXPECT_EQ(at(img, x, measure::amplitudeY(geo, k)), kGreen) << k;
  for (int k : {100, -100}) EXPECT_EQ(at(img, geo.x0 + geo.width - 1, measure::amplitudeY(geo, k)), kBlack) << k;
  EXPECT_EQ(at(img, x, measure::amplitudeY(geo, 10)), kCyan);
  EXPECT_EQ(at(img, x, measure::amplitudeY(geo, 20)), kGreen);
  EXPECT_EQ(at(img, x, measure::amplitudeY(geo, 0)), kBlack);
  EXPECT_EQ(at(img, x, measure::amplitudeY(geo, 50)), kBlack);
  EXPECT_EQ(at(img, x, measure::amplitudeY(geo, -50)), kBlack);
  // Between the lines: white plot, black frame on both sides.
  const int between = measure::amplitudeY(geo, 65);
  EXPECT_EQ(at(img, x, between), kWhite);
  EXPECT_EQ(at(img, geo.x0, between), kBlack);
  EXPECT_EQ(at(img, geo.x0 + geo.width, between), kBlack);
  // The grid stops at the frame.
  EXPECT_EQ(at(img, geo.x0 + geo.width + 2, measure::amplitudeY(geo, 10)), kWhite);

  // Every scale label left and right leaves dark pixels where it is placed.
  for (const measure::TextItem& t : measure::scaleLabels(geo))
    EXPECT_GT(darkPixels(img, QRect(t.x, t.y, 8 * static_cast<int>(t.text.size()), 16)), 3) << t.text;
  // Nothing outside the client was left undrawn.
  EXPECT_EQ(count(img, img.rect(), kSentinel), 0);
}

TEST_F(AnzeigeDlgTest, CaptionInBlueWithTimeLineOnlyBehindATimeStamp) {
  CAnzeigeDlg dlg;
  EXPECT_EQ(dlg.GetWindowText(), "Anzeige Meßdaten");
  const QRect captionRow(geo.x0, 0, 300, 16), timeRow(geo.x0, 21, 300, 15);

  Buf b;
  b.stamp(1234).header(0x14, 6 + 2 * 100, -3);
  for (int i = 0; i < 100; ++i) b.u16(kBase);
  dlg.m_bHeader = TRUE;
  dlg.SetData(b.data(), static_cast<UINT>(b.size()), 7);
  QImage img = render(dlg);
  EXPECT_GT(count(img, captionRow, kBlue), 20);
  EXPECT_GT(count(img, timeRow, kBlue), 10);
  EXPECT_TRUE(host.Boxes().empty());

  Buf p = plain16(constant(100, kBase));
  dlg.m_bHeader = FALSE;
  dlg.SetData(p.data(), static_cast<UINT>(p.size()), 7);
  img = render(dlg);
  EXPECT_GT(count(img, captionRow, kBlue), 20);
  EXPECT_EQ(count(img, timeRow, kBlue), 0);
}

// ---- trace -----------------------------------------------------------------------------

TEST_F(AnzeigeDlgTest, TraceIsBlueAtTheSamplesPositionsInEveryFraming) {
  auto s = constant(1500, kBase);
  s[300] = 0x7FC0;
  s[900] = -0x4000;
  const int xs[] = {measure::traceX(geo, 300, 1500), measure::traceX(geo, 900, 1500),
                    measure::traceX(geo, 1200, 1500)};
  const int ys[] = {measure::traceY16(geo, 0x7FC0), measure::traceY16(geo, -0x4000),
                    measure::traceY16(geo, kBase)};

  CAnzeigeDlg dlg;
  Buf plain = plain16(s);
  dlg.SetData(plain.data(), static_cast<UINT>(plain.size()), 1);
  QImage img = render(dlg);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(at(img, xs[k], ys[k]), kBlue) << "plain " << k;
  EXPECT_NE(at(img, xs[0], ys[0] - 2), kBlue) << "the peak ends at the sample";

  for (uint8_t type : {uint8_t{0x14}, uint8_t{0x60}}) {
    Buf h = headed(type, s);
    dlg.m_bHeader = TRUE;
    dlg.SetData(h.data(), static_cast<UINT>(h.size()), 1);
    img = render(dlg);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(at(img, xs[k], ys[k]), kBlue) << "type " << int(type);
  }

  // 8-bit plain samples scale by H / 256 without the shift.
  std::vector<uint8_t> bytes(200, 40);
  bytes[50] = static_cast<uint8_t>(-100);
  dlg.m_bHeader = FALSE;
  dlg.m_b8Bit = TRUE;
  dlg.SetData(bytes.data(), static_cast<UINT>(bytes.size()), 1);
  img = render(dlg);
  EXPECT_EQ(at(img, measure::traceX(geo, 50, 200), measure::traceY8(geo, -100)), kBlue);
  EXPECT_EQ(at(img, measure::traceX(geo, 150, 200), measure::traceY8(geo, 40)), kBlue);
}

TEST_F(AnzeigeDlgTest, LongTraceLooksLikeTheFullPolyline) {
  // Noise with sharp echoes: many samples per pixel column.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> noise(-3000, 3000);
  std::vector<int16_t> s(65536);
  for (auto& v : s) v = static_cast<int16_t>(noise(rng));
  for (size_t i : {1000u, 20000u, 20001u, 41234u, 65535u}) s[i] = static_cast<int16_t>(i % 2 ? 0x7FC0 : -0x8000);
  Buf b = plain16(s);

  CAnzeigeDlg dlg;
  dlg.SetData(b.data(), static_cast<UINT>(b.size()), 1);
  QImage img = render(dlg);

  // Reference: every sample joined to the next.
  QImage ref(kClient, QImage::Format_RGB32);
  ref.fill(Qt::white);
  {
    QPainter p(&ref);
    p.setPen(QPen(QColor(0, 0, 255), 1));
    const auto pts = measure::tracePolyline(geo, s.data(), s.size(), false);
    std::vector<QPoint> q;
    for (const auto& pt : pts) q.emplace_back(pt.x, pt.y);
    p.drawPolyline(q.data(), static_cast<int>(q.size()));
  }
  int missing = 0, extra = 0;
  for (int y = geo.top + 1; y < geo.top + geo.height; ++y)
    for (int x = geo.x0 + 1; x < geo.x0 + geo.width; ++x) {
      const Rgb got = at(img, x, y);
      // Axis ticks and labels are drawn over the trace; the grid lies under it.
      if (got != kBlue && got != kWhite && got != kCyan && got != kGreen) continue;
      const bool want = at(ref, x, y) == kBlue;
      missing += want && got != kBlue;
      extra += !want && got == kBlue;
    }
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(extra, 0);
}

// ---- sample axis -------------------------------------------------------------------------

TEST_F(AnzeigeDlgTest, SampleAxisLabelsAndTicksFollowTheStep) {
  struct Case {
    size_t n;
    std::vector<unsigned> values;
  };
  std::vector<unsigned> oneToNineteen;
  for (unsigned v = 1; v < 20; ++v) oneToNineteen.push_back(v);
  for (const Case& c : {Case{1500, {250, 500, 750, 1000, 1250}}, Case{20, oneToNineteen}}) {
    const auto marks = measure::sampleAxisMarks(geo, c.n);
    std::vector<unsigned> values;
    for (const auto& m : marks) values.push_back(m.value);
    EXPECT_EQ(values, c.values) << c.n;

    Buf b = plain16(constant(c.n, kBase));
    CAnzeigeDlg dlg;
    dlg.SetData(b.data(), static_cast<UINT>(b.size()), 1);
    QImage img = render(dlg);
    for (const auto& m : marks) {
      EXPECT_EQ(at(img, m.x, geo.middle + 5), kBlack) << "tick " << m.value;
      EXPECT_EQ(at(img, m.x, geo.middle - 9), kBlack) << "tick " << m.value;
      const QRect label(m.label.x, m.label.y, 2 * measure::sampleLabelOffset(m.value), 16);
      EXPECT_GT(darkPixels(img, label), 3) << "label " << m.value;
    }
    // No tick between the marks.
    if (marks.size() >= 2) {
      const int between = (marks[0].x + marks[1].x) / 2;
      if (between != marks[0].x && between != marks[1].x) {
        EXPECT_NE(at(img, between, geo.middle + 5), kBlack) << c.n;
      }
    }
  }
}

// ---- gates and readout -------------------------------------------------------------------

class AnzeigeGates : public AnzeigeDlgTest {
 protected:
  AnzeigeGates() {
    set(0, 300, 500, 40);
    set(1, 600, 800, 60);
    set(2, 800, 900, 80);
    gates.enable[0] = TRUE;
    gates.enable[1] = TRUE;  // B2 stays disabled
    readout.d = 200;
    readout.gate[0] = {150, 400, 0, 1};
    readout.gate[1] = {600, 800, 0, 0};
    readout.gate[2] = {850, 100, 0, 0};
    samples = plain16(constant(kN, kBase));
  }
  void set(int k, DWORD start, DWORD end, WORD thresholdPercent) {
    gates.gate[k].start = start;
    gates.gate[k].end = end;
    gates.gate[k].threshold = static_cast<WORD>(thresholdPercent * 16);
  }
  QImage show(CAnzeigeDlg& dlg, bool withReadout) {
    dlg.SetData(samples.data(), static_cast<UINT>(samples.size()), 1);
    dlg.m_pGates = &gates;
    dlg.m_pGateReadout = withReadout ? &readout : nullptr;
    dlg.m_nOffset = kOffset;
    return render(dlg);
  }
  int x(DWORD pos, int shift = 0) const {
    return geo.x0 + static_cast<int>((static_cast<int64_t>(pos) - kOffset) * geo.width / kN) - shift;
  }
  int dy(int k) const { return gates.gate[k].threshold * geo.height / 4096; }

  static constexpr int kN = 1500;
  static constexpr int kOffset = 50;
  GateSettings gates;
  GateReadout readout{};
  Buf samples;
};

TEST_F(AnzeigeGates, BarsThreePixelsWideB0ShiftedByTheReadout) {
  CAnzeigeDlg dlg;
  QImage img = show(dlg, true);
  const int e = static_cast<int>(int64_t{readout.d} * geo.width / kN);
  ASSERT_GT(e, 0);

  // B1: red, above and below the centre line, three rows thick.
  const int mid1 = (x(600) + x(800)) / 2;
  for (int d : {-1, 0, 1}) {
    EXPECT_EQ(at(img, mid1, geo.middle - dy(1) + d), kRed) << d;
    EXPECT_EQ(at(img, mid1, geo.middle + dy(1) + d), kRed) << d;
  }
  EXPECT_NE(at(img, mid1, geo.middle - dy(1) - 2), kRed);
  EXPECT_EQ(at(img, x(600) + 1, geo.middle - dy(1)), kRed);
  EXPECT_NE(at(img, x(800) + 3, geo.middle - dy(1)), kRed);

  // B0: magenta, moved left by E; nothing at its configured place right of the shifted end.
  const int y0 = geo.middle - dy(0);
  EXPECT_EQ(at(img, (x(300, e) + x(500, e)) / 2, y0), kMagenta);
  EXPECT_EQ(at(img, (x(300, e) + x(500, e)) / 2, geo.middle + dy(0)), kMagenta);
  ASSERT_LT(x(500, e) + 3, x(500) - 3);
  EXPECT_NE(at(img, x(500) - 3, y0), kMagenta);

  // B2 is disabled: no bar.
  EXPECT_EQ(at(img, (x(800) + x(900)) / 2, geo.middle - dy(2)), kWhite);

  // Readout line below the plot in the gates' colours, B2 left out.
  const int y = geo.height + 23;
  EXPECT_GT(count(img, QRect(0, y, 200, 16), kMagenta), 20);
  EXPECT_GT(count(img, QRect(210, y, 130, 16), kRed), 10);
  EXPECT_EQ(count(img, QRect(345, y, 130, 16), kBlue), 0);
}

TEST_F(AnzeigeGates, B0AtItsConfiguredPlaceWithoutShift) {
  CAnzeigeDlg dlg;
  readout.d = 0;
  QImage withZero = show(dlg, true);
  const int mid0 = (x(300) + x(500)) / 2;
  EXPECT_EQ(at(withZero, mid0, geo.middle - dy(0)), kMagenta);

  QImage without = show(dlg, false);
  EXPECT_EQ(at(without, mid0, geo.middle - dy(0)), kMagenta);
  EXPECT_EQ(at(without, (x(600) + x(800)) / 2, geo.middle - dy(1)), kRed);
  // No readout, no readout line.
  EXPECT_EQ(count(without, QRect(0, geo.height + 23, 700, 16), kMagenta), 0);
}

// ---- nothing to draw -----------------------------------------------------------------------

TEST_F(AnzeigeGates, NoDataOrNoSamplesDrawNothingThatDependsOnThem) {
  CAnzeigeDlg dlg;
  dlg.m_pGates = &gates;
  dlg.m_pGateReadout = &readout;
  QImage img = render(dlg);  // no data at all
  EXPECT_EQ(count(img, img.rect(), kSentinel), kClient.width() * kClient.height());

  dlg.SetData(samples.data(), 0, 1);
  img = render(dlg);
  EXPECT_EQ(count(img, img.rect(), kSentinel), kClient.width() * kClient.height());

  // A headed block of a header only: the grid and caption, but no trace, ticks, bars or
  // readout (N = 0 must not divide).
  Buf h = headed(0x14, {});
  dlg.m_bHeader = TRUE;
  dlg.SetData(h.data(), static_cast<UINT>(h.size()), 1);
  img = render(dlg);
  EXPECT_EQ(at(img, geo.x0 + 3, measure::amplitudeY(geo, 10)), kCyan);
  EXPECT_EQ(count(img, img.rect(), kMagenta), 0);
  EXPECT_EQ(count(img, img.rect(), kRed), 0);
  EXPECT_EQ(count(img, QRect(0, 17, kClient.width(), kClient.height()), kBlue), 0);
  EXPECT_TRUE(host.Boxes().empty());
}

TEST_F(AnzeigeDlgTest, FailedHeaderCheckIsReportedOnceAndTheDataDropped) {
  Buf bad = headed(0x40, constant(20, kBase));
  CAnzeigeDlg dlg;
  dlg.m_bHeader = TRUE;
  dlg.SetData(bad.data(), static_cast<UINT>(bad.size()), 1);
  for (int paint = 0; paint < 3; ++paint) {
    QImage img = render(dlg);
    EXPECT_EQ(count(img, img.rect(), kSentinel), kClient.width() * kClient.height()) << paint;
  }
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_EQ(host.Boxes()[0].caption, "Anzeige");
  EXPECT_EQ(host.Boxes()[0].text, "Datentyp 0x40 unbekannt");
  EXPECT_EQ(dlg.m_pData, nullptr);

  // A length that does not match what the opener hands is reported the same way.
  Buf good = headed(0x14, constant(20, kBase));
  dlg.SetData(good.data(), static_cast<UINT>(good.size()) - 2, 2);
  render(dlg);
  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_EQ(host.Boxes()[1].text, "Datenlänge soll: 44 - ist: 46");

  // The next A-scan of a modeless run draws again.
  dlg.SetData(good.data(), static_cast<UINT>(good.size()), 3);
  QImage img = render(dlg);
  EXPECT_EQ(at(img, measure::traceX(geo, 10, 20), measure::traceY16(geo, kBase)), kBlue);
  EXPECT_EQ(host.Boxes().size(), 2u);
}

// ---- repaint cache ---------------------------------------------------------------------

TEST_F(AnzeigeDlgTest, NewAScanInTheSameBufferIsDrawnAfresh) {
  auto s = constant(1000, kBase);
  Buf b = plain16(s);
  CAnzeigeDlg dlg;
  dlg.SetData(b.data(), static_cast<UINT>(b.size()), 1);
  const int x = measure::traceX(geo, 500, 1000);
  const int peak = measure::traceY16(geo, 0x7000);
  EXPECT_NE(at(render(dlg), x, peak), kBlue);

  // The run refills its buffer in place and hands it again.
  b.b[1000] = 0x00;
  b.b[1001] = 0x70;
  dlg.SetData(b.data(), static_cast<UINT>(b.size()), 1);
  EXPECT_EQ(at(render(dlg), x, peak), kBlue);

  // An opener that only sets the members counts the sequence on.
  b.b[1001] = 0x20;
  dlg.m_nSequence = 2;
  EXPECT_NE(at(render(dlg), x, peak), kBlue);

  // A new size lays the picture out again.
  dlg.resize(600, 400);
  const measure::PlotGeometry small = measure::plotGeometry(600, 400);
  QImage img(600, 400, QImage::Format_RGB32);
  dlg.render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
  EXPECT_EQ(at(img, measure::traceX(small, 200, 1000), measure::traceY16(small, kBase)), kBlue);
}

// ---- double-click ---------------------------------------------------------------------

TEST_F(AnzeigeDlgTest, DoubleClickListsTheSameData) {
  auto s = constant(30, kBase);
  s[2] = 0x0080;
  Buf b = plain16(s);
  CAnzeigeDlg dlg;
  dlg.SetData(b.data(), static_cast<UINT>(b.size()), 1);
  dlg.m_nSampleRate = 0;
  std::vector<CString> listed;
  host.QueueDialog([&](CDialog& d) {
    listed = static_cast<CDataListDlg&>(d).m_listData.Lines();
    return ScriptedUiHost::PressOk(d);
  });
  QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(200, 200), QPointF(200, 200), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&dlg, &click);

  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_EQ(host.Dialogs()[0].className, "CDataListDlg");
  EXPECT_EQ(host.Dialogs()[0].title, "Data");
  ASSERT_EQ(listed.size(), 31u);
  EXPECT_EQ(listed[0], "60 Bytes");
  EXPECT_EQ(listed[3], "   0.025µs     0.4% |    2    128 (   2) 0x0080");

  // Dropped data has nothing to list.
  dlg.m_pData = nullptr;
  QApplication::sendEvent(&dlg, &click);
  EXPECT_EQ(host.Dialogs().size(), 1u);
}

}  // namespace
