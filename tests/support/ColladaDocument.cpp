#include "support/ColladaDocument.h"

#include <sstream>

namespace {

const char* const kIdentity = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";

std::string floatArray(const std::string& id, const std::vector<float>& values, int stride,
                       const std::vector<std::string>& params, const std::string& type) {
    std::ostringstream out;
    out << "<source id=\"" << id << "\"><float_array id=\"" << id << "-array\" count=\""
        << values.size() << "\">";
    for (float v : values) out << v << ' ';
    out << "</float_array><technique_common><accessor source=\"#" << id << "-array\" count=\""
        << values.size() / static_cast<size_t>(stride) << "\" stride=\"" << stride << "\">";
    for (const std::string& p : params)
        out << "<param name=\"" << p << "\" type=\"" << type << "\"/>";
    out << "</accessor></technique_common></source>";
    return out.str();
}

std::string geometry(const ColladaMesh& mesh) {
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> texCoords;
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        const glm::vec3& p = mesh.positions[i];
        const glm::vec3 normal = i < mesh.normals.size() ? mesh.normals[i] : glm::vec3(0, 0, 1);
        const glm::vec2 uv = i < mesh.texCoords.size() ? mesh.texCoords[i] : glm::vec2(p);
        positions.insert(positions.end(), {p.x, p.y, p.z});
        normals.insert(normals.end(), {normal.x, normal.y, normal.z});
        texCoords.insert(texCoords.end(), {uv.x, uv.y});
    }
    const std::string& n = mesh.name;
    std::ostringstream out;
    out << "<geometry id=\"" << n << "-mesh\" name=\"" << n << "\"><mesh>"
        << floatArray(n + "-pos", positions, 3, {"X", "Y", "Z"}, "float");
    if (mesh.withNormals) out << floatArray(n + "-nrm", normals, 3, {"X", "Y", "Z"}, "float");
    if (mesh.withTexCoords) out << floatArray(n + "-uv", texCoords, 2, {"S", "T"}, "float");
    out << "<vertices id=\"" << n << "-vtx\"><input semantic=\"POSITION\" source=\"#" << n
        << "-pos\"/></vertices><triangles count=\"" << mesh.positions.size() / 3 << "\">"
        << "<input semantic=\"VERTEX\" source=\"#" << n << "-vtx\" offset=\"0\"/>";
    if (mesh.withNormals)
        out << "<input semantic=\"NORMAL\" source=\"#" << n << "-nrm\" offset=\"0\"/>";
    if (mesh.withTexCoords)
        out << "<input semantic=\"TEXCOORD\" source=\"#" << n << "-uv\" offset=\"0\" set=\"0\"/>";
    out << "<p>";
    for (size_t i = 0; i < mesh.positions.size(); ++i) out << i << ' ';
    out << "</p></triangles></mesh></geometry>";
    return out.str();
}

std::string controller(const ColladaMesh& mesh, const std::vector<std::string>& jointNames) {
    const std::string& n = mesh.name;
    std::ostringstream out;
    out << "<controller id=\"" << n << "-skin\"><skin source=\"#" << n << "-mesh\">"
        << "<bind_shape_matrix>" << kIdentity << "</bind_shape_matrix>"
        << "<source id=\"" << n << "-joints\"><Name_array id=\"" << n << "-joints-array\" count=\""
        << jointNames.size() << "\">";
    for (const std::string& joint : jointNames) out << joint << ' ';
    out << "</Name_array><technique_common><accessor source=\"#" << n << "-joints-array\" count=\""
        << jointNames.size() << "\" stride=\"1\"><param name=\"JOINT\" type=\"name\"/>"
        << "</accessor></technique_common></source>";

    std::vector<float> binds;
    for (size_t j = 0; j < jointNames.size(); ++j)
        binds.insert(binds.end(), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    out << floatArray(n + "-binds", binds, 16, {"TRANSFORM"}, "float4x4");

    std::vector<float> weights;
    std::ostringstream counts;
    std::ostringstream pairs;
    for (const auto& vertex : mesh.influences) {
        counts << vertex.size() << ' ';
        for (const auto& [joint, weight] : vertex) {
            pairs << joint << ' ' << weights.size() << ' ';
            weights.push_back(weight);
        }
    }
    out << floatArray(n + "-weights", weights, 1, {"WEIGHT"}, "float")
        << "<joints><input semantic=\"JOINT\" source=\"#" << n << "-joints\"/>"
        << "<input semantic=\"INV_BIND_MATRIX\" source=\"#" << n << "-binds\"/></joints>"
        << "<vertex_weights count=\"" << mesh.influences.size() << "\">"
        << "<input semantic=\"JOINT\" source=\"#" << n << "-joints\" offset=\"0\"/>"
        << "<input semantic=\"WEIGHT\" source=\"#" << n << "-weights\" offset=\"1\"/>"
        << "<vcount>" << counts.str() << "</vcount><v>" << pairs.str() << "</v>"
        << "</vertex_weights></skin></controller>";
    return out.str();
}

std::string animation(const ColladaJointAnimation& keyed,
                      const std::vector<std::string>& jointNames) {
    const std::string id = "anim" + std::to_string(keyed.joint);
    std::vector<float> matrices;
    for (const glm::vec3& t : keyed.translations)
        matrices.insert(matrices.end(), {1, 0, 0, t.x, 0, 1, 0, t.y, 0, 0, 1, t.z, 0, 0, 0, 1});
    std::ostringstream out;
    out << "<animation id=\"" << id << "\">"
        << floatArray(id + "-in", keyed.times, 1, {"TIME"}, "float")
        << floatArray(id + "-out", matrices, 16, {"TRANSFORM"}, "float4x4") << "<source id=\"" << id
        << "-interp\"><Name_array id=\"" << id << "-interp-array\" count=\"" << keyed.times.size()
        << "\">";
    for (size_t i = 0; i < keyed.times.size(); ++i) out << "LINEAR ";
    out << "</Name_array><technique_common><accessor source=\"#" << id << "-interp-array\" count=\""
        << keyed.times.size() << "\" stride=\"1\"><param name=\"INTERPOLATION\" type=\"name\"/>"
        << "</accessor></technique_common></source>"
        << "<sampler id=\"" << id << "-sampler\">"
        << "<input semantic=\"INPUT\" source=\"#" << id << "-in\"/>"
        << "<input semantic=\"OUTPUT\" source=\"#" << id << "-out\"/>"
        << "<input semantic=\"INTERPOLATION\" source=\"#" << id << "-interp\"/></sampler>"
        << "<channel source=\"#" << id << "-sampler\" target=\"" << jointNames[keyed.joint]
        << "/transform\"/></animation>";
    return out.str();
}

}  // namespace

std::string colladaDocument(const std::vector<ColladaMesh>& meshes,
                            const std::vector<std::string>& jointNames,
                            const std::vector<ColladaJointAnimation>& animations) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        << "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">"
        << "<asset><unit name=\"meter\" meter=\"1\"/><up_axis>Y_UP</up_axis></asset>"
        << "<library_geometries>";
    for (const ColladaMesh& mesh : meshes) out << geometry(mesh);
    out << "</library_geometries><library_controllers>";
    for (const ColladaMesh& mesh : meshes)
        if (!mesh.influences.empty()) out << controller(mesh, jointNames);
    out << "</library_controllers>";
    if (!animations.empty()) {
        out << "<library_animations>";
        for (const ColladaJointAnimation& keyed : animations) out << animation(keyed, jointNames);
        out << "</library_animations>";
    }
    out << "<library_visual_scenes><visual_scene id=\"Scene\" name=\"Scene\">"
        << "<node id=\"Armature\" name=\"Armature\" type=\"NODE\">";
    for (const std::string& joint : jointNames)
        out << "<node id=\"" << joint << "\" name=\"" << joint << "\" sid=\"" << joint
            << "\" type=\"JOINT\"><matrix sid=\"transform\">" << kIdentity << "</matrix></node>";
    out << "</node>";
    for (const ColladaMesh& mesh : meshes) {
        out << "<node id=\"" << mesh.name << "\" name=\"" << mesh.name << "\" type=\"NODE\">";
        if (mesh.influences.empty())
            out << "<instance_geometry url=\"#" << mesh.name << "-mesh\"/>";
        else
            out << "<instance_controller url=\"#" << mesh.name
                << "-skin\"><skeleton>#Armature</skeleton></instance_controller>";
        out << "</node>";
    }
    out << "</visual_scene></library_visual_scenes>"
        << "<scene><instance_visual_scene url=\"#Scene\"/></scene></COLLADA>\n";
    return out.str();
}

ColladaMesh colladaTriangles(const std::string& name, int triangles) {
    ColladaMesh mesh;
    mesh.name = name;
    for (int t = 0; t < triangles; ++t) {
        const float x = static_cast<float>(t);
        mesh.positions.insert(mesh.positions.end(),
                              {glm::vec3(x, 0, 0), glm::vec3(x + 1, 0, 0), glm::vec3(x, 1, 0)});
    }
    return mesh;
}
