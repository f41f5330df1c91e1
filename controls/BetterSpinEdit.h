#pragma once

// The integer entry field: a one-line edit holding a committed signed 32-bit
// Value, with an up/down button pair inside its right edge.
//
// Typed text becomes the Value only when committed: Enter, leaving the
// field, a step, or code writing Value, MinValue or MaxValue. Change is
// emitted only when the committed value really changes, never on a mere
// keystroke and never while the text is merely rewritten.

#include <QLineEdit>

class TSpinButton;

class TBetterSpinEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(qint32 Value READ Value WRITE SetValue)
    Q_PROPERTY(qint32 MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(qint32 MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(qint32 Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(qint32 FastIncrement READ FastIncrement WRITE SetFastIncrement)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled)
    Q_PROPERTY(bool Infinity READ Infinity WRITE SetInfinity)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)

public:
    static constexpr int DefaultWidth = 65;
    static constexpr int DefaultHeight = 21;
    static constexpr int MinimumWidth = 33;
    static constexpr int PairWidth = 15;
    // Shown instead of the number in infinity mode.
    static constexpr char16_t InfinitySign = u'\u221E';

    explicit TBetterSpinEdit(QWidget *parent = nullptr);
    ~TBetterSpinEdit() override;
    Q_DISABLE_COPY_MOVE(TBetterSpinEdit)

    // The committed value, whatever the text currently shows.
    qint32 Value() const { return FValue; }
    // Commits: clamps into the bounds (unless they are equal), emits Change
    // when the committed value changes, and always rewrites the text.
    // Does nothing at all in infinity mode.
    void SetValue(qint32 value);

    // Equal bounds (the initial 0 and 0) leave the value unbounded. Writing
    // a bound re-commits the current value, which may clamp it and emit Change.
    qint32 MinValue() const { return FMinValue; }
    void SetMinValue(qint32 value);
    qint32 MaxValue() const { return FMaxValue; }
    void SetMaxValue(qint32 value);

    // Step of the Up/Down keys and the buttons (default 1), and of
    // PageUp/PageDown (default 10).
    qint32 Increment() const { return FIncrement; }
    void SetIncrement(qint32 value) { FIncrement = value; }
    qint32 FastIncrement() const { return FFastIncrement; }
    void SetFastIncrement(qint32 value) { FFastIncrement = value; }

    // Whether the user may type, delete with Backspace, cut and paste.
    // Steps work either way.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }

    // The edit's own read-only flag; steps on a read-only field beep.
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }

    // Select all text when the focus arrives other than by a mouse press.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }

    // Freezes the value and shows the infinity sign in the control's own
    // font. No Change is emitted either way.
    bool Infinity() const { return FInfinity; }
    void SetInfinity(bool value);

    TSpinButton *SpinButtons() const { return FSpinButtons; }

    // One step by Increment (the Up/Down keys and the buttons) or by
    // FastIncrement (PageUp/PageDown). The sum saturates at the 32-bit
    // limits, then the bounds clamp as usual.
    virtual void StepUp(QObject *sender = nullptr);
    virtual void StepDown(QObject *sender = nullptr);
    void FastStepUp();
    void FastStepDown();

    // The key filter for this control's EditorEnabled.
    virtual bool IsAcceptedChar(QChar c) const;
    // The integer the current text denotes.
    qint32 ReadTextValue() const;

    // Pure forms of the two above, for tests and callers without a control.
    // Accepted: digits, '-', control characters below 32 except CR; without
    // the editor, only control characters other than CR and Backspace.
    static bool IsAcceptedChar(QChar c, bool editorEnabled);
    // Empty text gives `committed`; minus signs after the first character
    // are dropped; anything unreadable or outside 32 bits gives 0.
    static qint32 ReadTextValue(const QString &text, qint32 committed);
    // value + delta, held at the signed 32-bit limits instead of overflowing.
    static qint32 SaturatedAdd(qint32 value, qint64 delta);

    // The least outer height for the current font.
    int MinimumHeight() const;
    // Keeps text clear of the button pair.
    void FitTextArea();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The committed value changed (by the user or by code).
    void Change(TBetterSpinEdit *sender);
    // At the start and at the end of every upward/downward step, also on a
    // read-only field and in infinity mode.
    void UpClicking(TBetterSpinEdit *sender);
    void UpClick(TBetterSpinEdit *sender);
    void DownClicking(TBetterSpinEdit *sender);
    void DownClick(TBetterSpinEdit *sender);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void Step(bool up, bool fast);
    void CommitText();
    void ShowValue();
    bool CanModifyText() const;
    void UpdateMinimumSize();
    void LayoutSpinButtons();

    qint32 FValue = 0;
    qint32 FMinValue = 0;
    qint32 FMaxValue = 0;
    qint32 FIncrement = 1;
    qint32 FFastIncrement = 10;
    bool FEditorEnabled = true;
    bool FAutoSelect = true;
    bool FInfinity = false;
    TSpinButton *FSpinButtons = nullptr;
};
