// TKlaviatura: the till's one on-screen keyboard, a modal form with an edit line and 48 keys; it
// remembers its screen position under "Software\TOVEL\Tillora\Klaviatura".
#pragma once

#include <QPointer>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

class TKlaviatura : public QDialog {
    Q_OBJECT
public:
    explicit TKlaviatura(QWidget* owner);
    ~TKlaviatura() override;  // FormDestroy: writes the position once the form was shown

    QLineEdit* shRinda;
    QPushButton* btClose;  // "Enter": closes without adding anything

    // Every character key.
    void Button11Click(QPushButton* button);
    void KeyClick(QPushButton* button);
    void btCloseClick();
    // The first activation of the form's life moves it to the stored position.
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool activated_ = false;
};

inline constexpr const char* kKlaviaturaKey = "Software\\TOVEL\\Tillora\\Klaviatura";

extern QPointer<TKlaviatura> Klaviatura;
