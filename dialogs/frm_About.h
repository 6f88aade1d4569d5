#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmAbout;
}

// The about box: the program's picture, name, version, rights holder and a
// comment, closed by its OK button (the default button). Its texts are shown
// exactly as laid out; no localisation touches them.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* owner);
    ~TfrmAbout() override;

protected:
    // Centres the box on its screen, not on its owner.
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmAbout> ui;
};
