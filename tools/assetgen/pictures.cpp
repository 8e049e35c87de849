#include "pictures.h"

namespace quorlin::assetgen {

const std::vector<Picture> &pictures()
{
    static const std::vector<Picture> all{};
    return all;
}

QImage drawIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

} // namespace quorlin::assetgen
