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
    images_.insert(position, Image{key, std::move(scaled)});
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

const QPixmap& ImageList::Picture(const std::string& key) const
{
    const Image* image = find(key);
    if (!image) RaiseControlError(kInvalidImageKey);
    return image->picture;
}

QPixmap ImageOf(const ImageList* list, const std::string& key)
{
    if (key.empty()) return {};
    if (!list) RaiseControlError(kInvalidImageKey);
    return list->Picture(key);
}

} // namespace ui
