#pragma once

#include <QWidget>

#include <array>
#include <string>
#include <string_view>

class QLineEdit;

namespace kv::manager::ui {

// A four-octet IPv4 address field: four boxes of 0 to 255 with dots between them. "." or three digits move on to
// the next box.
class CIpAddressField : public QWidget {
    Q_OBJECT
public:
    explicit CIpAddressField(QWidget* parent = nullptr);

    // Shows a stored address text: split at dots, each part read by the decimal-number rule and taken modulo 256,
    // a missing part 0. An empty text leaves all four boxes blank.
    void setAddressText(std::string_view text);
    // "%d.%d.%d.%d", an empty box counting as 0; empty when all four boxes are blank (no address: the game server
    // is then given none, where "0.0.0.0" would be passed on as an address).
    std::string addressText() const;
    bool isBlank() const;

    static std::array<int, 4> octetsOf(std::string_view text);

    QLineEdit* octet(int index) const { return octets_[static_cast<std::size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusOctet(int index);

    std::array<QLineEdit*, 4> octets_{};
};

} // namespace kv::manager::ui
