#pragma once

#include "shell/platform.h"

#include <QPointer>
#include <QWidget>

namespace kelvara {

// The small box the text tool and a double click on lettering open: the
// text (several lines), the font, its size in mm, bold, italic, alignment,
// letter spacing and arc radius.
class QtLetteringDialog : public LetteringDialog {
public:
    explicit QtLetteringDialog(QWidget* owner) : owner_(owner) {}
    std::optional<LetteringChoice> askLettering(const LetteringChoice& initial,
                                                const std::function<void(const LetteringChoice&)>& preview) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace kelvara
