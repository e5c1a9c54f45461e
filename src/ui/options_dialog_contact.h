#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

#include <functional>

namespace quenmark {

// The addresses of the About page's contact area.
inline constexpr const char* PublisherPageAddress = "https://quenmark.example.org/";
inline constexpr const char* AuthorMailAddress = "quenmark@example.org";
inline constexpr const char* SupportPageAddress = "https://quenmark.example.org/support/";

// A label of the contact area that reacts to a click: a link text or a
// banner image.
class TContactLabel : public QLabel {
    Q_OBJECT
public:
    explicit TContactLabel(QWidget* parent = nullptr);

    // Shows text underlined in the link colour.
    void SetLinkText(const QString& text);
    const QString& LinkText() const { return FLinkText; }

    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString FLinkText;
};

// A banner of the contact area: the caption on a band in the colours given.
QPixmap ContactBanner(const QString& caption, const QColor& base, const QColor& dark, QSize size);

}  // namespace quenmark
