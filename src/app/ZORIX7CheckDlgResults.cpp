// The result list as a technician reads it: failed lines red, lines that checked nothing
// grey, the meaning of an error word on its line, and the list saved or copied as text.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QListWidget>
#include <fstream>

#include "app/ResultList.h"
#include "app/ZORIX7CheckDlg.h"
#include "card/LibraryMessage.h"
#include "platform/CWinApp.h"
#include "platform/QtText.h"
#include "platform/UiHost.h"

namespace {
const char* VerdictWord(Verdict v) {
  switch (v) {
    case Verdict::Pass:
      return "OK";
    case Verdict::Fail:
      return "FEHLER";
    case Verdict::Skipped:
      return "übersprungen";
    case Verdict::Info:
      return "";
  }
  return "";
}

// One line per error word the library can explain; empty when it explains none.
QString ErrorWordTip(const CString& line) {
  QStringList tips;
  for (uint32_t word : resultlist::ErrorWords(line.str()))
    if (std::string meaning = CardErrorMeaning(word); !meaning.empty())
      tips << QString("%1: %2").arg(QString::number(word, 16).toUpper(), QString::fromStdString(meaning));
  return tips.join('\n');
}
}  // namespace

void CZORIX7CheckDlg::ShowResultLine(int index, const ResultLine& line) {
  QListWidget* list = m_listResult.Widget();
  QListWidgetItem* item = list ? list->item(index) : nullptr;
  if (!item) return;
  if (line.verdict == Verdict::Fail)
    item->setForeground(QColor(200, 0, 0));
  else if (line.verdict == Verdict::Info || line.verdict == Verdict::Skipped)
    item->setForeground(QColor(110, 110, 110));
  if (QString tip = ErrorWordTip(line.text); !tip.isEmpty()) item->setToolTip(tip);
}

void CZORIX7CheckDlg::AddResultListMenu(QListWidget* list) {
  list->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* save = new QAction(QString::fromUtf8("Liste speichern…"), list);
  connect(save, &QAction::triggered, this, [this] { SaveResultList(); });
  auto* copy = new QAction("Kopieren", list);
  connect(copy, &QAction::triggered, this, [this] { CopyResultList(); });
  list->addAction(save);
  list->addAction(copy);
}

CString CZORIX7CheckDlg::ResultListText() const {
  resultlist::Header header;
  header.version = QApplication::applicationVersion().toStdString();
  header.configuration = AfxGetApp()->m_pszProfileName.str();
  for (const CString& line : CardSummaryLines()) header.cards.push_back(line.str());
  header.savedAt = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString();
  std::vector<resultlist::Entry> entries;
  for (size_t i = 0; i < m_resultLines.size(); ++i)
    entries.push_back({m_resultTimes[i], VerdictWord(m_resultLines[i].verdict), m_resultLines[i].text.str()});
  return resultlist::Text(header, entries);
}

void CZORIX7CheckDlg::SaveResultList() {
  CString path;
  if (!CurrentUiHost().GetSaveFileName(
          {"Liste speichern", "Textdatei (*.txt)|*.txt|All Files (*.*)|*.*||", "txt", "Ergebnisse.txt"}, path))
    return;
  std::ofstream out(path.str(), std::ios::binary | std::ios::trunc);
  out << ResultListText().str();
  if (!out.flush())
    MessageBox(CString::Formatted("Liste konnte nicht gespeichert werden:\n%s", path.c_str()), GetWindowText(),
               MB_OK | MB_ICONERROR);
}

void CZORIX7CheckDlg::CopyResultList() { QApplication::clipboard()->setText(ToQ(ResultListText())); }
