// The primary selection of X11 desktops: the text selected last, pasted with the middle
// mouse button.
#pragma once

#include <QString>

namespace tomery::editor {

/// The platform's primary selection (QClipboard::Selection). Platforms without one offer
/// nothing and take nothing; tests put a selection of their own in its place.
class TPrimarySelection {
  public:
    virtual ~TPrimarySelection() = default;
    /// Whether the platform has a primary selection.
    virtual bool Available() const;
    virtual QString Text() const;
    virtual void SetText(const QString& text);
};

}  // namespace tomery::editor
