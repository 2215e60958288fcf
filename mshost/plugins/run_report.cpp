// The report JSON and the human-readable summary of a plug-in run.
#include "mshost/plugins/run_report.h"

#include "mshost/formats/json_writer.h"
#include "mshost/formats/model_json.h"
#include "mshost/formats/model_text.h"

namespace mshost {
namespace {

std::string Plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void SummariseModel(std::string& out, msModel* model) {
    const int meshCount = msModel_GetMeshCount(model);
    out += "meshes: " + std::to_string(meshCount) + "\n";
    for (int i = 0; i < meshCount; ++i) {
        msMesh* mesh = msModel_GetMeshAt(model, i);
        const int material = msMesh_GetMaterialIndex(mesh);
        out += "  " + std::to_string(i) + " " + JsonByteString(ModelText(msMesh_GetName, mesh)) + ": " +
               Plural(msMesh_GetVertexCount(mesh), "vertex", "vertices") + ", " +
               Plural(msMesh_GetTriangleCount(mesh), "triangle", "triangles") + ", " +
               (material < 0 ? std::string("no material") : "material " + std::to_string(material)) + "\n";
    }
    const int materialCount = msModel_GetMaterialCount(model);
    out += "materials: " + std::to_string(materialCount) + "\n";
    for (int i = 0; i < materialCount; ++i) {
        msMaterial* material = msModel_GetMaterialAt(model, i);
        const std::string texture = ModelText(msMaterial_GetDiffuseTexture, material);
        out += "  " + std::to_string(i) + " " + JsonByteString(ModelText(msMaterial_GetName, material)) + ": " +
               (texture.empty() ? std::string("no texture") : "texture " + JsonByteString(texture)) + "\n";
    }
    const int boneCount = msModel_GetBoneCount(model);
    out += "bones: " + std::to_string(boneCount) + "\n";
    for (int i = 0; i < boneCount; ++i) {
        msBone* bone = msModel_GetBoneAt(model, i);
        const std::string parent = ModelText(msBone_GetParentName, bone);
        out += "  " + std::to_string(i) + " " + JsonByteString(ModelText(msBone_GetName, bone)) + ": " +
               (parent.empty() ? std::string("no parent") : "parent " + JsonByteString(parent)) + "\n";
    }
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string ReportJsonText(const PlugInRun& run, msModel* model) {
    JsonWriter writer;
    writer.BeginObject();
    writer.Key("kind");
    writer.Integer(run.kind);
    writer.Key("title");
    writer.Text(run.title);
    writer.Key("execute");
    writer.Integer(run.execute);
    writer.Key("messages");
    writer.BeginArray();
    for (const auto& box : run.messages) {
        writer.BeginObject(true);
        writer.Key("caption");
        if (box.caption) {
            writer.Text(*box.caption);
        } else {
            writer.Null();
        }
        writer.Key("text");
        writer.Text(box.text);
        writer.EndObject();
    }
    writer.EndArray();
    writer.Key("debug");
    writer.BeginArray();
    for (const std::string& line : SplitLines(run.debugText)) writer.Text(line);
    writer.EndArray();
    writer.Key("destroyed");
    writer.Integer(run.destroyed);
    if (model) {
        writer.Key("model");
        WriteModelJson(writer, model);
    }
    writer.EndObject();
    return writer.Output() + "\n";
}

std::string SummaryText(const PlugInRun& run, msModel* model) {
    std::string out;
    out += "plug-in: " + JsonByteString(run.title) + " (kind " + std::to_string(run.kind) + ")\n";
    out += "execute: " + std::to_string(run.execute) + "\n";
    SummariseModel(out, model);
    out += "message boxes: " + std::to_string(run.messages.size()) + "\n";
    for (const auto& box : run.messages) {
        out += "  " + (box.caption ? JsonByteString(*box.caption) : std::string("(default caption)")) + ": " +
               JsonByteString(box.text) + "\n";
    }
    out += "debug output: " + Plural(static_cast<int>(SplitLines(run.debugText).size()), "line", "lines") + "\n";
    return out;
}

}  // namespace mshost
