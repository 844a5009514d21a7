// The selected card's whole state saved to a file, and compared with a reference file.
#include <QLineEdit>
#include <QMenu>

#include "app/ZORIX7CheckDlg.h"
#include "platform/UiHost.h"
#include "snapshot/CardSnapshot.h"
#include "snapshot/SnapshotDiffDlg.h"

#ifndef ZORIX7_VERSION
#define ZORIX7_VERSION "1.0"
#endif

namespace {
constexpr const char* kSaveCaption = "Zustand speichern";
constexpr const char* kCompareCaption = "Mit Referenz vergleichen";
constexpr const char* kFilter = "Zustand (*.json)|*.json|Alle Dateien (*.*)|*.*||";
}  // namespace

void CZORIX7CheckDlg::InstallCardMenu(QWidget* area) {
  area->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(area, &QWidget::customContextMenuRequested, this, [this, area](const QPoint& at) {
    auto* edit = qobject_cast<QLineEdit*>(area);
    QMenu* menu = edit ? edit->createStandardContextMenu() : new QMenu(area);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!menu->isEmpty()) menu->addSeparator();
    menu->addAction(QString::fromUtf8("Zustand speichern…"), this, [this] { OnSaveState(); });
    menu->addAction(QString::fromUtf8("Mit Referenz vergleichen…"), this, [this] { OnCompareReference(); });
    menu->popup(area->mapToGlobal(at));
  });
}

snapshot::CardState CZORIX7CheckDlg::SelectedCardState() {
  UpdateData(TRUE);
  return snapshot::TakeCardState(SelectedCard(), CardIndex() + 1);
}

void CZORIX7CheckDlg::OnSaveState() {
  snapshot::Snapshot s;
  s.cards.push_back(SelectedCardState());
  CString path;
  if (!CurrentUiHost().GetSaveFileName(
          {kSaveCaption, kFilter, "json", CString::Formatted("Karte%d.json", s.cards[0].number)}, path))
    return;
  s.program = "zorix7check " ZORIX7_VERSION;
  snapshot::DescribeSource(s);
  std::string error;
  if (!snapshot::WriteSnapshotFile(s, path.str(), error)) MessageBox(error, kSaveCaption, MB_OK | MB_ICONERROR);
}

void CZORIX7CheckDlg::OnCompareReference() {
  CString path;
  if (!CurrentUiHost().GetOpenFileName({kCompareCaption, kFilter, "json", ""}, path)) return;
  std::string error;
  auto file = snapshot::ReadSnapshotFile(path.str(), error);
  snapshot::CardState card = SelectedCardState();
  auto reference = file ? snapshot::CardOf(*file, card.number) : std::nullopt;
  if (file && !reference) error = path.str() + ": keine Karte " + std::to_string(card.number);
  if (!reference) {
    MessageBox(error, kCompareCaption, MB_OK | MB_ICONERROR);
    return;
  }
  CSnapshotDiffDlg dlg(std::move(*reference), std::move(card), this);
  dlg.DoModal();
}
