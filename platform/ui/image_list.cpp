#include "platform/ui/image_list.h"

#include "platform/ui/control_errors.h"

namespace ui {

ImageList::ImageList(QObject* parent) : QObject(parent) {}

void ImageList::Add(int index, const std::string& key, const QPixmap& picture)
{
    if (index < 0 || index > Count() + 1) RaiseControlError(kIndexOutOfBounds);
    if (!key.empty() && HasKey(key)) RaiseControlError(kKeyNotUnique);
    QPixmap scaled = picture.isNull() || picture.size() == QSize(kImageSize, kImageSize)
                         ? picture
                         : picture.scaled(kImageSize, kImageSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const auto position = index == 0 ? images_.end() : images_.begin() + (index - 1);
    QIcon icon(scaled);
    images_.insert(position, Image{key, std::move(scaled), std::move(icon)});
}

std::vector<std::string> ImageList::Keys() const
{
    std::vector<std::string> keys;
    keys.reserve(images_.size());
    for (const Image& image : images_) keys.push_back(image.key);
    return keys;
}

const ImageList::Image* ImageList::find(const std::string& key) const
{
    for (const Image& image : images_)
        if (image.key == key) return &image;
    return nullptr;
}

const ImageList::Image& ImageList::at(const std::string& key) const
{
    const Image* image = find(key);
    if (!image) RaiseControlError(kInvalidImageKey);
    return *image;
}

const QPixmap& ImageList::Picture(const std::string& key) const { return at(key).picture; }
const QIcon& ImageList::Icon(const std::string& key) const { return at(key).icon; }

namespace {

// The list a control has bound; 35603 when it has none.
const ImageList& Bound(const ImageList* list)
{
    if (!list) RaiseControlError(kInvalidImageKey);
    return *list;
}

} // namespace

QPixmap ImageOf(const ImageList* list, const std::string& key)
{
    return key.empty() ? QPixmap() : Bound(list).Picture(key);
}

QIcon IconOf(const ImageList* list, const std::string& key) { return key.empty() ? QIcon() : Bound(list).Icon(key); }

} // namespace ui
