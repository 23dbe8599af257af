#include "tools/content/ColladaWriter.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

// The game's skinning turns every posed model by half a turn about x; it is its own inverse.
const glm::mat4 kSkinningTurn = glm::rotate(glm::mat4(1.0f), glm::pi<float>(), glm::vec3(1.0f, 0.0f, 0.0f));

std::string number(float value) {
    if (std::fabs(value) < 5e-7f) return "0";
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
    return text;
}

// Collada writes matrices row by row; glm stores them column by column.
std::string matrixText(const glm::mat4& m) {
    std::string out;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            if (!out.empty()) out += ' ';
            out += number(m[column][row]);
        }
    return out;
}

glm::mat4 turned(const glm::mat4& m) { return kSkinningTurn * m * kSkinningTurn; }

class Document {
public:
    explicit Document(const ColladaModel& m) : model(m), skinned(m.skeleton != nullptr) {}

    std::string text() {
        out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            << "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n";
        asset();
        material();
        geometry();
        if (skinned) {
            controller();
            animations();
        }
        scene();
        out << "</COLLADA>\n";
        return out.str();
    }

private:
    glm::vec3 filePosition(const glm::vec3& p) const {
        return skinned ? glm::vec3(kSkinningTurn * glm::vec4(p, 1.0f)) : p;
    }
    glm::vec3 fileNormal(const glm::vec3& n) const {
        return skinned ? glm::vec3(kSkinningTurn * glm::vec4(n, 0.0f)) : n;
    }

    void asset() {
        out << " <asset>\n  <contributor><authoring_tool>Qex content generator</authoring_tool></contributor>\n"
            << "  <created>2024-01-01T00:00:00</created>\n  <modified>2024-01-01T00:00:00</modified>\n"
            << "  <unit name=\"meter\" meter=\"1\"/>\n  <up_axis>Y_UP</up_axis>\n </asset>\n";
    }

    void material() {
        const glm::vec3 c = model.diffuse;
        out << " <library_effects>\n  <effect id=\"" << model.name << "-effect\"><profile_COMMON>"
            << "<technique sid=\"common\"><phong>\n"
            << "   <diffuse><color>" << number(c.r) << ' ' << number(c.g) << ' ' << number(c.b) << " 1</color></diffuse>\n"
            << "   <specular><color>0.5 0.5 0.5 1</color></specular><shininess><float>16</float></shininess>\n"
            << "  </phong></technique></profile_COMMON></effect>\n </library_effects>\n"
            << " <library_materials>\n  <material id=\"" << model.name << "-material\" name=\"" << model.name
            << "\"><instance_effect url=\"#" << model.name << "-effect\"/></material>\n </library_materials>\n";
    }

    void floatSource(const std::string& id, const std::vector<float>& values, int stride,
                     const std::vector<std::string>& params, const std::string& type = "float") {
        out << "    <source id=\"" << id << "\">\n     <float_array id=\"" << id << "-array\" count=\"" << values.size()
            << "\">";
        for (size_t i = 0; i < values.size(); ++i) out << (i ? " " : "") << number(values[i]);
        out << "</float_array>\n     <technique_common><accessor source=\"#" << id << "-array\" count=\""
            << values.size() / static_cast<size_t>(stride) << "\" stride=\"" << stride << "\">";
        for (const std::string& p : params) out << "<param name=\"" << p << "\" type=\"" << type << "\"/>";
        out << "</accessor></technique_common>\n    </source>\n";
    }

    void nameSource(const std::string& id, const std::vector<std::string>& names, const std::string& param) {
        out << "    <source id=\"" << id << "\">\n     <Name_array id=\"" << id << "-array\" count=\"" << names.size()
            << "\">";
        for (size_t i = 0; i < names.size(); ++i) out << (i ? " " : "") << names[i];
        out << "</Name_array>\n     <technique_common><accessor source=\"#" << id << "-array\" count=\""
            << names.size() << "\" stride=\"1\"><param name=\"" << param << "\" type=\"name\"/></accessor>"
            << "</technique_common>\n    </source>\n";
    }

    void geometry() {
        const std::vector<MeshVertex>& vertices = model.mesh->meshVertices();
        std::vector<float> positions, normals, uvs;
        for (const MeshVertex& v : vertices) {
            const glm::vec3 p = filePosition(v.position);
            const glm::vec3 n = fileNormal(v.normal);
            positions.insert(positions.end(), {p.x, p.y, p.z});
            normals.insert(normals.end(), {n.x, n.y, n.z});
            uvs.insert(uvs.end(), {v.uv.x, v.uv.y});
        }
        const std::string id = model.name + "-mesh";
        out << " <library_geometries>\n  <geometry id=\"" << id << "\" name=\"" << model.name << "\">\n   <mesh>\n";
        floatSource(id + "-positions", positions, 3, {"X", "Y", "Z"});
        floatSource(id + "-normals", normals, 3, {"X", "Y", "Z"});
        floatSource(id + "-uvs", uvs, 2, {"S", "T"});
        const std::vector<unsigned>& indices = model.mesh->triangleIndices();
        out << "    <vertices id=\"" << id << "-vertices\"><input semantic=\"POSITION\" source=\"#" << id
            << "-positions\"/></vertices>\n"
            << "    <triangles material=\"" << model.name << "\" count=\"" << indices.size() / 3 << "\">\n"
            << "     <input semantic=\"VERTEX\" source=\"#" << id << "-vertices\" offset=\"0\"/>\n"
            << "     <input semantic=\"NORMAL\" source=\"#" << id << "-normals\" offset=\"1\"/>\n"
            << "     <input semantic=\"TEXCOORD\" source=\"#" << id << "-uvs\" offset=\"2\" set=\"0\"/>\n     <p>";
        for (size_t i = 0; i < indices.size(); ++i) {
            const unsigned k = indices[i];
            out << (i ? " " : "") << k << ' ' << k << ' ' << k;
        }
        out << "</p>\n    </triangles>\n   </mesh>\n  </geometry>\n </library_geometries>\n";
    }

    std::vector<std::string> boneNames() const {
        std::vector<std::string> names;
        for (const Bone& b : model.skeleton->bones()) names.push_back(b.name);
        return names;
    }

    void controller() {
        const Skeleton& skeleton = *model.skeleton;
        const std::string id = model.name + "-skin";
        out << " <library_controllers>\n  <controller id=\"" << id << "\"><skin source=\"#" << model.name << "-mesh\">\n"
            << "   <bind_shape_matrix>" << matrixText(glm::mat4(1.0f)) << "</bind_shape_matrix>\n";
        nameSource(id + "-joints", boneNames(), "JOINT");
        std::vector<float> inverseBinds;
        for (size_t b = 0; b < skeleton.bones().size(); ++b) {
            const glm::mat4 inverse = glm::inverse(turned(skeleton.worldRest(static_cast<int>(b))));
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 4; ++column) inverseBinds.push_back(inverse[column][row]);
        }
        floatSource(id + "-bind-poses", inverseBinds, 16, {"TRANSFORM"}, "float4x4");

        std::vector<float> weights;
        std::ostringstream counts, pairs;
        for (const MeshVertex& v : model.mesh->meshVertices()) {
            counts << v.influences.size() << ' ';
            for (const Influence& influence : v.influences) {
                pairs << influence.bone << ' ' << weights.size() << ' ';
                weights.push_back(influence.weight);
            }
        }
        floatSource(id + "-weights", weights, 1, {"WEIGHT"});
        out << "   <joints><input semantic=\"JOINT\" source=\"#" << id << "-joints\"/>"
            << "<input semantic=\"INV_BIND_MATRIX\" source=\"#" << id << "-bind-poses\"/></joints>\n"
            << "   <vertex_weights count=\"" << model.mesh->vertexCount() << "\">\n"
            << "    <input semantic=\"JOINT\" source=\"#" << id << "-joints\" offset=\"0\"/>\n"
            << "    <input semantic=\"WEIGHT\" source=\"#" << id << "-weights\" offset=\"1\"/>\n"
            << "    <vcount>" << counts.str() << "</vcount>\n    <v>" << pairs.str() << "</v>\n"
            << "   </vertex_weights>\n  </skin></controller>\n </library_controllers>\n";
    }

    void animations() {
        const Skeleton& skeleton = *model.skeleton;
        out << " <library_animations>\n";
        for (size_t b = 0; b < skeleton.bones().size(); ++b) {
            const Bone& bone = skeleton.bones()[b];
            if (!bone.motion) continue;
            std::vector<float> times, matrices;
            std::vector<std::string> interpolation;
            for (int k = 0; k <= ColladaWriter::kKeysPerLoop; ++k) {
                const float phase = static_cast<float>(k) / static_cast<float>(ColladaWriter::kKeysPerLoop);
                times.push_back(phase * skeleton.loopSeconds());
                // The last key repeats the first exactly, so the loop closes without a step.
                const glm::mat4 local = turned(skeleton.localAt(static_cast<int>(b), k == ColladaWriter::kKeysPerLoop ? 0.0f : phase));
                for (int row = 0; row < 4; ++row)
                    for (int column = 0; column < 4; ++column) matrices.push_back(local[column][row]);
                interpolation.push_back("LINEAR");
            }
            const std::string id = bone.name + "-anim";
            out << "  <animation id=\"" << id << "\">\n";
            floatSource(id + "-input", times, 1, {"TIME"});
            floatSource(id + "-output", matrices, 16, {"TRANSFORM"}, "float4x4");
            nameSource(id + "-interpolation", interpolation, "INTERPOLATION");
            out << "   <sampler id=\"" << id << "-sampler\"><input semantic=\"INPUT\" source=\"#" << id << "-input\"/>"
                << "<input semantic=\"OUTPUT\" source=\"#" << id << "-output\"/>"
                << "<input semantic=\"INTERPOLATION\" source=\"#" << id << "-interpolation\"/></sampler>\n"
                << "   <channel source=\"#" << id << "-sampler\" target=\"" << bone.name << "/transform\"/>\n"
                << "  </animation>\n";
        }
        out << " </library_animations>\n";
    }

    void joint(int index, const std::string& indent) {
        const Bone& bone = model.skeleton->bones()[static_cast<size_t>(index)];
        out << indent << "<node id=\"" << bone.name << "\" name=\"" << bone.name << "\" sid=\"" << bone.name
            << "\" type=\"JOINT\">\n"
            << indent << " <matrix sid=\"transform\">" << matrixText(turned(bone.rest)) << "</matrix>\n";
        for (size_t c = 0; c < model.skeleton->bones().size(); ++c)
            if (model.skeleton->bones()[c].parent == index) joint(static_cast<int>(c), indent + " ");
        out << indent << "</node>\n";
    }

    void bindMaterial() {
        out << "     <bind_material><technique_common><instance_material symbol=\"" << model.name
            << "\" target=\"#" << model.name << "-material\"/></technique_common></bind_material>\n";
    }

    void scene() {
        const std::string identity = matrixText(glm::mat4(1.0f));
        out << " <library_visual_scenes>\n  <visual_scene id=\"Scene\" name=\"Scene\">\n";
        if (skinned) {
            out << "   <node id=\"Armature\" name=\"Armature\" type=\"NODE\">\n    <matrix sid=\"transform\">" << identity
                << "</matrix>\n";
            for (size_t b = 0; b < model.skeleton->bones().size(); ++b)
                if (model.skeleton->bones()[b].parent < 0) joint(static_cast<int>(b), "    ");
            out << "   </node>\n";
        }
        out << "   <node id=\"" << model.name << "\" name=\"" << model.name << "\" type=\"NODE\">\n"
            << "    <matrix sid=\"transform\">" << identity << "</matrix>\n";
        if (skinned) {
            out << "    <instance_controller url=\"#" << model.name << "-skin\">\n     <skeleton>#"
                << model.skeleton->bones().front().name << "</skeleton>\n";
            bindMaterial();
            out << "    </instance_controller>\n";
        } else {
            out << "    <instance_geometry url=\"#" << model.name << "-mesh\">\n";
            bindMaterial();
            out << "    </instance_geometry>\n";
        }
        out << "   </node>\n  </visual_scene>\n </library_visual_scenes>\n"
            << " <scene><instance_visual_scene url=\"#Scene\"/></scene>\n";
    }

    const ColladaModel& model;
    const bool skinned;
    std::ostringstream out;
};

}  // namespace

bool ColladaWriter::write(const ColladaModel& model, const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    file << Document(model).text();
    if (file) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}
