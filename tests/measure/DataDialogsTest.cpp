// The data list and gate values windows: what an opener hands them is what they list.
// Before any Qt header: the builder names a parameter "slots", a Qt keyword macro.
#include <cstddef>

#include "measure/BufferBuilder.h"

#include <QFontInfo>
#include <QListWidget>

#include "measure/DataBlendenDlg.h"
#include "measure/DataListDlg.h"
#include "measure/ResultText.h"
#include "support/DialogTestSupport.h"

using measure::test::Buf;

namespace {

class DataDialogs : public DialogFixture {};

std::vector<CString> widgetLines(CDialog& dlg, int id) {
  std::vector<CString> lines;
  auto* w = qobject_cast<QListWidget*>(dlg.GetDlgItem(id));
  if (!w) return lines;
  for (int i = 0; i < w->count(); ++i) lines.emplace_back(w->item(i)->text().toStdString());
  return lines;
}

TEST_F(DataDialogs, DataListShowsEverySampleInAFixedPitchFont) {
  Buf b;
  b.words({0x0000, 0x7FC0, 0x0080, 0x8000});
  CDataListDlg dlg;
  dlg.m_pData = b.data();
  dlg.m_nBytes = static_cast<UINT>(b.size());
  dlg.m_nSampleRate = 0;
  dlg.DoModal();

  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_EQ(host.Dialogs()[0].title, "Data");
  const std::vector<CString> want = {
      "8 Bytes",
      "   0.000µs     0.0% |    0      0 (   0) 0x0000",
      "   0.013µs    99.8% |    1  32704 ( 510) 0x7FC0",
      "   0.025µs     0.4% |    2    128 (   2) 0x0080",
      "   0.038µs  -100.0% |    3 -32768 (-512) 0x8000",
  };
  EXPECT_EQ(dlg.m_listData.Lines(), want);
  EXPECT_EQ(widgetLines(dlg, CDataListDlg::IDC_DATALIST), want);
  EXPECT_TRUE(QFontInfo(dlg.GetDlgItem(CDataListDlg::IDC_DATALIST)->font()).fixedPitch());

  // Opened again on a headed block: the list starts afresh.
  Buf h;
  h.header(0x14, 12, 5).words({0x0080, 0x0040, 0x0000}).u32(0xFFFFEFFE);
  dlg.m_bHeader = TRUE;
  dlg.m_pData = h.data();
  dlg.m_nBytes = static_cast<UINT>(h.size());
  dlg.DoModal();
  const auto& lines = dlg.m_listData.Lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "12 Bytes");
  EXPECT_EQ(lines[2], "Kennung 5");
  EXPECT_EQ(lines[3], "Ende Prüfspur");
  EXPECT_EQ(lines[4], "   0.000µs     0.4% |    0      2 (   2) 0x0080");
}

TEST_F(DataDialogs, DataListOfAFullBufferHasALineForEverySample) {
  std::vector<uint8_t> data(0x20000, 0x11);
  CDataListDlg dlg;
  dlg.m_pData = data.data();
  dlg.m_nBytes = static_cast<UINT>(data.size());
  dlg.DoModal();
  EXPECT_EQ(dlg.m_listData.GetCount(), 65537);
  EXPECT_EQ(qobject_cast<QListWidget*>(dlg.GetDlgItem(CDataListDlg::IDC_DATALIST))->count(), 65537);
}

TEST_F(DataDialogs, GateValuesListBothFramings) {
  Buf headed;
  headed.gateRecord(-2, {{100, 0xC000, 40}, {200, 0x8000, 80}, {0, 0, 0}}).u32(0xFFFFEFFF);
  CDataBlendenDlg hd(headed.data(), static_cast<UINT>(headed.size()), nullptr, TRUE);
  host.QueueDialog(ScriptedUiHost::PressOk);
  EXPECT_EQ(hd.DoModal(), IDOK);
  EXPECT_EQ(host.Dialogs()[0].title, "Blendenwerte");
  const auto& h = hd.m_listBlenden.Lines();
  ASSERT_EQ(h.size(), 4u);
  EXPECT_EQ(h[0], "60 Bytes");
  EXPECT_EQ(h[1], "56 Bytes, Datentyp 0x40, Kennung -2");
  EXPECT_EQ(h[2].str().substr(0, 32), "t= 100 v= 10 ^| t= 200 v= 20  | ");
  EXPECT_EQ(h[3], "Ende Prüfzyklus 1");
  EXPECT_EQ(widgetLines(hd, IDC_BLENDENLIST), h);
  EXPECT_TRUE(QFontInfo(hd.GetDlgItem(IDC_BLENDENLIST)->font()).fixedPitch());

  // Plain framing: records belong to the active sets 1..6 in turn.
  Buf plain;
  plain.zeros(48);
  ActiveSetFlags active{};
  active.flag[1] = TRUE;
  active.flag[3] = TRUE;
  CDataBlendenDlg pd(plain.data(), static_cast<UINT>(plain.size()), &active, FALSE);
  pd.DoModal();
  const auto& p = pd.m_listBlenden.Lines();
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[0], "48 Bytes");
  EXPECT_EQ(p[1], "Parametersatz 1");
  EXPECT_EQ(p[2].str().substr(0, 6), "   1: ");
  EXPECT_EQ(p[3], "Parametersatz 3");
  EXPECT_EQ(p[4].str().substr(0, 6), "   2: ");

  // Without the card's flags no set is active: the byte count only.
  CDataBlendenDlg none(plain.data(), static_cast<UINT>(plain.size()), nullptr, FALSE);
  none.DoModal();
  EXPECT_EQ(none.m_listBlenden.Lines(), std::vector<CString>{"48 Bytes"});
}

}  // namespace
