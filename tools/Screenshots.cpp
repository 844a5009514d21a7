// Renders the README's screenshots offscreen on the virtual cards: the main window after a
// "Check All" run, the bus view, the A-scan of one "Parameter/Shot", the parameter editor and
// the control-LCA view (both laid out for a 1024 x 768 screen).
// Usage: zorix7screenshots OUTPUT_DIR CONFIG_DIR [WINDOWS_DIR] (CONFIG_DIR holds ZORIX7Check.INI
// and the identification presets; they are copied, the files in config/ stay untouched). With
// WINDOWS_DIR every window of the program is also rendered there as laid out on 1024 x 768.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdio>

#include "WindowGallery.h"
#include "app/BusbelegungDlg.h"
#include "app/Resource.h"
#include "app/ZORIX7Check.h"
#include "app/ZORIX7CheckDlg.h"
#include "diag/LCADlg.h"
#include "measure/AnzeigeDlg.h"
#include "params/AnzeigeVorgabenDlg.h"
#include "platform/Clock.h"
#include "platform/UiHost.h"
#include "sim/Zorix7Sim.h"

namespace {
QString g_out;
int g_failures = 0;

// Indexed colours keep the PNGs small; the windows use few colours anyway.
void Save(QWidget& w, QSize size, const QString& dir, const QString& name) {
  w.resize(size);
  w.show();
  QApplication::processEvents();
  QImage image = w.grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
  QString path = dir + "/" + name;
  if (!image.save(path, "PNG", 0)) {
    std::fprintf(stderr, "zorix7screenshots: %s not written\n", qPrintable(path));
    ++g_failures;
  }
  w.hide();
}

void SaveEveryWindow(CZORIX7CheckDlg& main, const QString& dir) {
  QDir().mkpath(dir);
  WindowGallery gallery(main);
  for (const auto& window : gallery.Windows()) {
    std::unique_ptr<CDialog> dlg = window.make();
    dlg->InitDialog();
    const QString name = QString::fromStdString(ScriptedUiHost::DialogClassName(*dlg)) + ".png";
    // A window that only paints (the A-scan) has no size hint of its own.
    Save(*dlg, dlg->sizeHint().expandedTo(QSize(400, 300)).boundedTo(QSize(1024, 728)), dir, name);
  }
}

bool CopyInto(const QString& from, const QString& to) {
  QFile::remove(to);
  return QFile::copy(from, to);
}
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qapp(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: zorix7screenshots OUTPUT_DIR CONFIG_DIR [WINDOWS_DIR]\n");
    return 2;
  }
  g_out = QString::fromLocal8Bit(argv[1]);
  const QString configDir = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(g_out);
  // A fixed folder, so that the configuration line shown stays the same from run to run.
  QDir dir(QDir::temp().filePath("zorix7check"));
  dir.mkpath(".");
  if (!CopyInto(configDir + "/ZORIX7Check.INI", dir.filePath("ZORIX7Check.INI")) ||
      !CopyInto(configDir + "/Kennung-ZORIX7F.txt", dir.filePath("Kennung-ZORIX7F.txt"))) {
    std::fprintf(stderr, "zorix7screenshots: no starting configuration in %s\n", argv[2]);
    return 2;
  }

  ScriptedUiHost host;
  host.SetStrict(true);  // questions before writing to a card are answered No
  ScopedUiHost hostScope(host);
  VirtualClock clock;
  ScopedClock clockScope(clock);
  zorix7sim::Reset();
  zorix7sim::UseBuiltInBench();

  CZORIX7CheckApp app;
  app.m_pszProfileName = dir.filePath("ZORIX7Check.INI").toStdString();
  CZORIX7CheckDlg main;
  main.m_strModuleDir = dir.path().toStdString();
  main.InitDialog();

  bool busShown = false, ascanShown = false, editorShown = false, lcaShown = false;
  // Every modal dialog passes here: the two wanted ones are captured, the others confirmed.
  auto capture = [&](CDialog& d) -> INT_PTR {
    if (auto* bus = dynamic_cast<CBusbelegungDlg*>(&d)) {
      Save(*bus, bus->sizeHint(), g_out, "bus-view.png");
      busShown = true;
    } else if (auto* ascan = dynamic_cast<CAnzeigeDlg*>(&d)) {
      Save(*ascan, QSize(800, 580), g_out, "ascan.png");
      ascanShown = true;
    } else if (auto* editor = dynamic_cast<CAnzeigeVorgabenDlg*>(&d)) {
      Save(*editor, editor->sizeHint(), g_out, "parameter-editor.png");
      editorShown = true;
      return ScriptedUiHost::PressCancel(d);  // its "Shot" would measure
    } else if (auto* lca = dynamic_cast<CLCADlg*>(&d)) {
      Save(*lca, lca->sizeHint(), g_out, "lca-view.png");
      lcaShown = true;
    }
    return ScriptedUiHost::PressOk(d);
  };
  for (int i = 0; i < 64; ++i) host.QueueDialog(capture);

  main.ClickDlgItem(IDC_BUSBELEGUNG);
  main.EnsureControls();
  // The parameter editor and the control-LCA view open when their boxes are clear.
  for (int id : {IDC_CHECK_SHOT, IDC_CHECK_LCA})
    if (auto* box = qobject_cast<QAbstractButton*>(main.GetDlgItem(id))) box->setChecked(false);
  main.ClickDlgItem(IDC_SHOT);
  main.ClickDlgItem(IDC_LCA);
  if (auto* box = qobject_cast<QAbstractButton*>(main.GetDlgItem(IDC_CHECK_LCA))) box->setChecked(true);
  // The shot without the parameter editor.
  if (auto* box = qobject_cast<QAbstractButton*>(main.GetDlgItem(IDC_CHECK_SHOT))) box->setChecked(true);
  main.ClickDlgItem(IDC_SHOT);
  main.ClickDlgItem(IDC_CHECK_ALL);
  Save(main, QSize(1280, 680), g_out, "main-window.png");

  if (argc == 4) SaveEveryWindow(main, QString::fromLocal8Bit(argv[3]));

  for (auto [shown, name] : {std::pair{busShown, "the bus view"}, {ascanShown, "the A-scan"},
                               {editorShown, "the parameter editor"}, {lcaShown, "the control-LCA view"}})
    if (!shown) {
      std::fprintf(stderr, "zorix7screenshots: %s did not open\n", name);
      ++g_failures;
    }
  zorix7sim::Reset();
  return g_failures ? 1 : 0;
}
