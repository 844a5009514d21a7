#include "app/AboutDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(IDD_ABOUTBOX, parent) { SetWindowText("Info über ZORIX7Check"); }

void CAboutDlg::CreateControls() {
  auto* grid = new QGridLayout(this);
  QLabel* icon = AddStatic(0, "");
  icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
  grid->addWidget(icon, 0, 0, 2, 1);
  grid->addWidget(AddStatic(0, "ZORIX7Check, Version 1.0"), 0, 1);
  grid->addWidget(AddStatic(0, "Prüf- und Servicewerkzeug für ZORIX7 und ZORIX7F"), 1, 1);
  grid->addWidget(AddButton(IDOK, "OK", [this] { OnOK(); }), 0, 2);
}
