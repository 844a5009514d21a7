// The context menu of the A-scan display and the data list, driven through the scripted host.
// Before any Qt header: the builder names a parameter "slots", a Qt keyword macro.
#include <cstddef>

#include "measure/BufferBuilder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>

#include "measure/AnzeigeDlg.h"
#include "measure/AscanCsv.h"
#include "measure/AscanSaveMenu.h"
#include "measure/DataListDlg.h"
#include "support/DialogTestSupport.h"

using measure::test::Buf;

namespace {

class AscanSave : public DialogFixture {
 protected:
  CString PathOf(const char* name) const { return CString(dir.filePath(name).toStdString()); }
  static std::string Contents(const CString& path) {
    QFile f(QString::fromStdString(path.str()));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<none>");
  }
  static QAction* Entry(QWidget& window, const char* text) {
    auto* menu = window.findChild<QMenu*>();
    if (!menu) return nullptr;
    for (QAction* a : menu->actions())
      if (a->text() == QString::fromUtf8(text)) return a;
    return nullptr;
  }
  QTemporaryDir dir;
};

TEST_F(AscanSave, DisplayMenuSavesPictureAndSamplesOrNothingWhenCancelled) {
  Buf b;
  b.words({0x0080, 0x7FC0, 0x8000, 0x0000});
  CAnzeigeDlg dlg;
  dlg.m_nSampleRate = 2;
  dlg.SetData(b.data(), static_cast<UINT>(b.size()), 1);
  QAction* png = Entry(dlg, ascansave::kPngEntry);
  QAction* csv = Entry(dlg, ascansave::kCsvEntry);
  ASSERT_TRUE(png && csv);

  host.QueueFile(PathOf("scan.csv"));
  csv->trigger();
  EXPECT_EQ(Contents(PathOf("scan.csv")), measure::ascanCsv({b.data(), b.size(), false, false, 2}));
  ASSERT_EQ(host.SaveRequests().size(), 1u);
  EXPECT_NE(host.SaveRequests()[0].filter.str().find("CSV-Datei (*.csv)"), std::string::npos);

  host.QueueFile(PathOf("scan.png"));
  png->trigger();
  QImage image(dir.filePath("scan.png"));
  ASSERT_EQ(image.size(), dlg.size());
  EXPECT_EQ(image, dlg.grab().toImage().convertToFormat(image.format()));

  // Cancelled choosers write nothing and show nothing.
  host.QueueFile(std::nullopt);
  csv->trigger();
  host.QueueFile(std::nullopt);
  png->trigger();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
  EXPECT_EQ(host.SaveRequests().size(), 4u);
  EXPECT_TRUE(host.Boxes().empty());

  // A headed buffer that fails its check is reported, not saved.
  Buf bad;
  bad.header(0x40, 12, 1).words({1, 2, 3});
  dlg.m_bHeader = TRUE;
  dlg.SetData(bad.data(), static_cast<UINT>(bad.size()), 2);
  dlg.OnSaveCsv();
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_EQ(host.Boxes()[0].text, "Datentyp 0x40 unbekannt");
  EXPECT_EQ(host.SaveRequests().size(), 4u);
}

TEST_F(AscanSave, DataListSavesTheSameSamplesAndReportsAFailedWrite) {
  Buf b;
  b.stamp(77).header(0x14, 12, 5).words({0x0080, 0x0040, 0x0000}).u32(0xFFFFEFFE);
  CDataListDlg dlg;
  dlg.m_bHeader = TRUE;
  dlg.m_pData = b.data();
  dlg.m_nBytes = static_cast<UINT>(b.size());
  dlg.m_nSampleRate = 3;
  dlg.DoModal();
  auto* list = dlg.GetDlgItem(CDataListDlg::IDC_DATALIST);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->contextMenuPolicy(), Qt::CustomContextMenu);

  host.QueueFile(PathOf("list.csv"));
  Entry(dlg, ascansave::kCsvEntry)->trigger();
  const std::string text = Contents(PathOf("list.csv"));
  EXPECT_EQ(text, measure::ascanCsv({b.data(), b.size(), true, false, 3}));
  EXPECT_NE(text.find("# Zeit: 77\n"), std::string::npos) << text;
  EXPECT_NE(text.find("2;0.20000;0.000;0\n"), std::string::npos) << text;

  // A folder that does not exist: the box names the file and why; nothing is left behind.
  const CString missing = PathOf("fehlt/list.csv");
  host.QueueFile(missing);
  dlg.OnSaveCsv();
  host.QueueFile(missing);
  dlg.OnSavePng();
  ASSERT_EQ(host.Boxes().size(), 2u);
  for (const auto& box : host.Boxes()) {
    EXPECT_EQ(box.caption, "Data");
    EXPECT_NE(box.text.str().find("\"" + missing.str() + "\" konnte nicht gespeichert werden:\n"), std::string::npos)
        << box.text.str();
    EXPECT_GT(box.text.str().size(), box.text.str().find(":\n") + 2) << "no reason given";
  }
  EXPECT_FALSE(QDir(dir.filePath("fehlt")).exists());

  // A right click in the list opens the menu; without data there is no CSV to offer.
  dlg.m_pData = nullptr;
  emit list->customContextMenuRequested(QPoint(5, 5));
  auto* menu = dlg.findChild<QMenu*>();
  EXPECT_TRUE(menu->isVisible());
  EXPECT_FALSE(Entry(dlg, ascansave::kCsvEntry)->isEnabled());
  EXPECT_TRUE(Entry(dlg, ascansave::kPngEntry)->isEnabled());
  menu->hide();
}

}  // namespace
