#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TfrmEdit;
}

// The base of the edit dialogs: a free client area above a strip with OK,
// Cancel and Apply at the bottom right. OK is the default button (Enter) and
// accepts, Cancel (or Escape) rejects, Apply does nothing. The constructor
// localises the whole dialog last, the derived dialog's components included.
class TfrmEdit : public QDialog
{
    Q_OBJECT

public:
    // Builds the derived dialog's content into the client area `pnlClient`
    // while the base constructor runs, before the localisation. It runs
    // before any member of the derived dialog exists: it may set the form's
    // caption and build widgets, but must store nothing into the derived
    // object.
    using TClientLayout = std::function<void(QDialog& form, QWidget& pnlClient)>;

    explicit TfrmEdit(QWidget* owner, const TClientLayout& layoutClient = {});
    ~TfrmEdit() override;

private:
    std::unique_ptr<Ui::TfrmEdit> ui;
};
