#include "measure/AscanSaveMenu.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

#include "platform/QtText.h"
#include "platform/UiHost.h"

namespace ascansave {

namespace {

// QSaveFile writes beside the target and renames on commit: a failed write leaves any
// earlier file as it was.
bool WriteChosenFile(QWidget& window, const FileDialogRequest& request,
                     const std::function<bool(QSaveFile&)>& write) {
  CString path;
  if (!CurrentUiHost().GetSaveFileName(request, path)) return false;
  QSaveFile file(ToQ(path));
  bool ok = file.open(QIODevice::WriteOnly) && write(file);
  QString reason = file.errorString();
  if (ok) {
    ok = file.commit();
    reason = file.errorString();
  } else {
    file.cancelWriting();
  }
  if (ok) return true;
  if (reason.isEmpty() || reason == QLatin1String("Unknown error")) reason = QStringLiteral("Schreibfehler");
  CurrentUiHost().MessageBox(
      CString::Formatted("Die Datei \"%s\" konnte nicht gespeichert werden:\n%s", path.c_str(), FromQ(reason).c_str()),
      FromQ(window.windowTitle()), MB_OK | MB_ICONERROR);
  return false;
}

}  // namespace

QMenu* Install(QWidget& window, std::initializer_list<QWidget*> areas, std::function<void()> savePng,
               std::function<void()> saveCsv, std::function<bool()> hasData) {
  auto* menu = new QMenu(&window);
  QObject::connect(menu->addAction(QString::fromUtf8(kPngEntry)), &QAction::triggered, &window,
                   [savePng] { savePng(); });
  QAction* csv = menu->addAction(QString::fromUtf8(kCsvEntry));
  QObject::connect(csv, &QAction::triggered, &window, [saveCsv] { saveCsv(); });
  QObject::connect(menu, &QMenu::aboutToShow, csv, [csv, hasData] { csv->setEnabled(hasData()); });
  auto attach = [menu](QWidget* area) {
    area->setContextMenuPolicy(Qt::CustomContextMenu);
    // A list reports the click in its viewport's coordinates.
    auto* scroll = qobject_cast<QAbstractScrollArea*>(area);
    QWidget* origin = scroll ? scroll->viewport() : area;
    QObject::connect(area, &QWidget::customContextMenuRequested, menu,
                     [menu, origin](const QPoint& at) { menu->popup(origin->mapToGlobal(at)); });
  };
  attach(&window);
  for (QWidget* area : areas) attach(area);
  return menu;
}

bool SavePng(QWidget& window) {
  const FileDialogRequest request{"Als PNG speichern", "PNG-Bild (*.png)|*.png|Alle Dateien (*.*)|*.*||", "png",
                                  "AScan.png"};
  return WriteChosenFile(window, request, [&window](QSaveFile& file) { return window.grab().save(&file, "PNG"); });
}

bool SaveCsv(QWidget& window, const measure::AscanSource& source) {
  const FileDialogRequest request{"Als CSV speichern", "CSV-Datei (*.csv)|*.csv|Alle Dateien (*.*)|*.*||", "csv",
                                  "AScan.csv"};
  return WriteChosenFile(window, request, [&source](QSaveFile& file) {
    const std::string text = measure::ascanCsv(source);
    return file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
  });
}

}  // namespace ascansave
