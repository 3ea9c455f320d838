#include "PngWriter.h"

#include <png.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

bool PngWriter::Write(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba,
                      std::string& error)
{
    if (width == 0 || height == 0 || rgba.size() != static_cast<size_t>(width) * height * 4)
    {
        error = "no picture to write";
        return false;
    }

    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    struct stat status
    {
    };
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
    {
        error = "cannot write " + path + ": no such folder";
        return false;
    }

    // Straight (not premultiplied) RGBA, so the file holds exactly the bytes that were rendered.
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;

    // Write beside the target first so a failed write never leaves half a PNG under the real name.
    const std::string temporary = path + ".part";
    const bool written = png_image_write_to_file(&image, temporary.c_str(), 0, rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        unlink(temporary.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}
