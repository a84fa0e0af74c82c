#pragma once
// AboutSoftware, the about window: the program's title, version and
// description, the versions of Qt and libsodium in use, the data folder (a
// click opens it), the maker's web address (a click opens it), the system
// information button and OK.

#include <QDialog>

class QLabel;
class QPushButton;

namespace keyholm {

class AboutSoftware : public QDialog {
    Q_OBJECT
public:
    explicit AboutSoftware(QWidget* parent = nullptr);

    // The platform's system information program; empty when there is none.
    static QString SystemInformationProgram();

    QLabel* PictureLogo = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* LabelLibraries = nullptr;
    QLabel* LabelDataFolder = nullptr;
    QLabel* LabelSite = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void cmdSysInfo_Click();
    void SetSiteColor(const QColor& color);
};

} // namespace keyholm
