#pragma once
// An image list: 16 by 16 images addressed by key (and by 1-based index), in
// the order they were added. Trees, lists and tool bars take their images
// from one by key; images can be added while the program runs.

#include <QIcon>
#include <QObject>
#include <QPixmap>

#include <string>
#include <vector>

namespace ui {

class ImageList : public QObject {
    Q_OBJECT
public:
    static constexpr int kImageSize = 16;

    explicit ImageList(QObject* parent = nullptr);

    int Count() const { return int(images_.size()); }
    // Inserts the picture, scaled to 16 by 16, at the 1-based index (0 or
    // Count() + 1 appends) under the key. An index past the end raises 35600,
    // a key already present 35602.
    void Add(int index, const std::string& key, const QPixmap& picture);
    // Every image key in order.
    std::vector<std::string> Keys() const;
    bool HasKey(const std::string& key) const { return find(key) != nullptr; }
    // The image under the key; an unknown key raises 35603.
    const QPixmap& Picture(const std::string& key) const;
    // The image under the key as an icon, made once when it was added.
    const QIcon& Icon(const std::string& key) const;

private:
    struct Image {
        std::string key;
        QPixmap picture;
        QIcon icon;
    };
    const Image& at(const std::string& key) const;
    const Image* find(const std::string& key) const;

    std::vector<Image> images_;
};

// The image under the key in the list; 35603 when the key is unknown or no
// list is bound. An empty key means no image.
QPixmap ImageOf(const ImageList* list, const std::string& key);
// The same as an icon; an empty key gives no icon.
QIcon IconOf(const ImageList* list, const std::string& key);

} // namespace ui
