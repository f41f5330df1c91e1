#pragma once

// The dotted-octet entry of an IPv4 address: four fields of at most three
// digits with a bold dot between neighbours, in a white sunken box.
//
// Typing a third character moves on to the next field (the last wraps to
// the first); Enter applies the field without leaving it. A key that is no
// digit, or a digit for a full field, beeps and is dropped. The box reads
// nothing itself: OctetExit says which field to apply, and the owner reads
// its text.

#include <array>

#include <QFrame>

class QKeyEvent;
class QLineEdit;

class TIPAddressEdit final : public QFrame
{
    Q_OBJECT
public:
    // `fieldNames` are the object names of the four fields, first octet first.
    explicit TIPAddressEdit(const std::array<QString, 4> &fieldNames, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TIPAddressEdit)

    QLineEdit *Field(int index) const { return FFields.at(index); }
    // Names the fields for assistive technology after the caption of the
    // label in front of the box ("IP Address, octet 1" ...): the label's
    // buddy is the first field, which lives inside this box.
    void SetCaption(const QString &caption);
    // The four octets of `value`, in decimal.
    void ShowAddress(quint32 value);

signals:
    // The field was left for another control of the window, or Enter was
    // pressed in it. `index` is the octet index, 0 to 3.
    void OctetExit(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OctetChange(int index);
    // Handles a key typed into any octet field; true when it is consumed.
    bool OctetKeyPress(int index, QKeyEvent *event);

    std::array<QLineEdit *, 4> FFields{};
};
