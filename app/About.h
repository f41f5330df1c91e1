#pragma once

// The About window: created once at start, hidden until asked for, shown
// without being modal and always above the main window. OK, Enter, Esc and
// the close box only hide it; a double-click on the picture swaps it for the
// credit text, a click on that text swaps back.

#include <memory>

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSvgRenderer;
class TImage;

class TAboutCalc final : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutCalc(QWidget *parent = nullptr);
    ~TAboutCalc() override;

    void OKButtonClick();
    void AboutImageDblClick();
    void CreditMemoClick();

    QFrame *Panel1 = nullptr;
    TImage *AboutImage = nullptr;
    QLabel *CreditMemo = nullptr;
    QPlainTextEdit *InfoMemo = nullptr;
    QPlainTextEdit *NoticeMemo = nullptr;
    QPushButton *OKButton = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();

    std::unique_ptr<QSvgRenderer> FPicture;
};
