// The data list window: what an opener hands it is what it lists.
// Before any Qt header: the builder names a parameter "slots", a Qt keyword macro.
#include <cstddef>

#include "measure/BufferBuilder.h"

#include <QFontInfo>
#include <QListWidget>

#include "measure/DataListDlg.h"
#include "measure/ResultText.h"
#include "support/DialogTestSupport.h"

using measure::test::Buf;

namespace {

class DataDialogs : public DialogFixture {};

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
  EXPECT_EQ(ListLines(dlg, CDataListDlg::IDC_DATALIST), want);
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

}  // namespace
