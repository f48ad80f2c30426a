#include "ExportGraph.h"

#include "GraphFormats.h"
#include "GraphPicture.h"
#include "Latin1Text.h"
#include "PathloomError.h"
#include "SafeFile.h"

bool ExportGraph(const clsGraph& graph, const QString& path, double scale,
                 const std::function<QString(double)>& smaller, const std::string& tooLarge) {
    const std::string fileName = Platform::ToFileName(path);
    const std::optional<Canvas::PictureFormat> picture = Canvas::PictureFormatOf(path);
    if (!picture)
        return GraphFormats::ExportByName(graph, fileName);
    const QByteArray bytes = Canvas::GraphPicture(graph, *picture, scale, smaller);
    if (bytes.isEmpty())
        Raise("Export", tooLarge);
    try {
        WriteFileSafely(fileName, bytes.toStdString());
    } catch (const PathloomError& e) {
        Raise("Export", "'" + fileName + "' could not be written: " + e.Description());
    }
    return true;
}
