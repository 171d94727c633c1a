#include "cli/TreeJson.h"

namespace varnok {
namespace {

template <typename T, std::size_t N> nlohmann::json ArrayToJson(const std::array<T, N>& values) {
    nlohmann::json list = nlohmann::json::array();
    for (const T& v : values) {
        if constexpr (std::is_floating_point_v<T>) {
            list.push_back(static_cast<double>(v));
        } else {
            list.push_back(static_cast<int>(v));
        }
    }
    return list;
}

} // namespace

nlohmann::json TreeToJson(const Tree& tree) {
    const StemModel& stem = tree.Stem;
    nlohmann::json json;
    json["stem_length"] = stem.StemLength;
    json["point_count"] = stem.PointCount;
    json["point_position"] = nlohmann::json::array();
    for (std::size_t i = 0; i < stem.PointCount; ++i) {
        json["point_position"].push_back(stem.PointPosition[i]);
    }
    json["diameter"] = ArrayToJson(stem.Diameter);
    json["centre_x"] = ArrayToJson(stem.CentreX);
    json["centre_y"] = ArrayToJson(stem.CentreY);

    json["surface_defects"] = nlohmann::json::array();
    for (const SurfaceDefect& d : tree.Surface()) {
        json["surface_defects"].push_back({{"Position", d.Position},
                                           {"Kind", d.Kind},
                                           {"Sector", d.Sector},
                                           {"Width", d.Width},
                                           {"Length", d.Length},
                                           {"EndPosition", d.EndPosition},
                                           {"EndSector", d.EndSector}});
    }
    json["end_defects"] = nlohmann::json::array();
    for (const EndDefect& d : tree.Ends()) {
        json["end_defects"].push_back({{"Kind", d.Kind},
                                       {"StartPosition", d.StartPosition},
                                       {"EndPosition", d.EndPosition},
                                       {"StartDiameter", d.StartDiameter},
                                       {"EndDiameter", d.EndDiameter},
                                       {"ExceedStart", d.ExceedStart},
                                       {"ExceedEnd", d.ExceedEnd}});
    }
    json["surface_map"] = nlohmann::json::array();
    for (const SectorIntervals& sector : tree.SurfaceMap) {
        nlohmann::json intervals = nlohmann::json::array();
        for (const MapInterval& interval : sector.Used()) {
            intervals.push_back({interval.Start, interval.End, interval.Defect});
        }
        json["surface_map"].push_back(std::move(intervals));
    }
    json["decay"] = ArrayToJson(tree.DecayProfile);
    json["stain"] = ArrayToJson(tree.StainProfile);
    json["heart"] = ArrayToJson(tree.HeartProfile);
    json["fork_bulge_free"] = ArrayToJson(tree.ForkBulgeFree);
    return json;
}

} // namespace varnok
