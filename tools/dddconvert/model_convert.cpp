#include "model_convert.h"

#include <sys/stat.h>

#include <map>

#include "files/plain_file.h"
#include "gfx3d/model_file.h"
#include "gfx3d/model_scene_description.h"
#include "scene_pose.h"
#include "texture_export.h"

namespace {

long long FileSize(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

bool WriteModel(const SourceScene& scene, const std::vector<MeshInstance>& instances,
                const std::vector<FrameMoment>& moments, const AxisOptions& axes, const std::string& path,
                std::vector<OutputSummary>& written, std::string& error) {
  std::vector<std::vector<PosedMesh>> frames;
  frames.reserve(moments.size());
  for (const FrameMoment& moment : moments) frames.push_back(PoseScene(scene, instances, moment));
  MeshObject object;
  OutputSummary summary;
  summary.path = path;
  if (!BuildModel(scene, instances, frames, axes, object, summary.model, error)) return false;
  if (!SaveModelFile(object, path.c_str())) {
    error = "cannot write \"" + path + "\"";
    return false;
  }
  summary.bytes = FileSize(path);
  written.push_back(summary);
  return true;
}

// "folder/name.ddw" -> "folder/", "name"
void SplitOutputPath(const std::string& path, std::string& folder, std::string& stem) {
  folder = SceneFolder(path);
  stem = path.substr(folder.size());
  const std::size_t dot = stem.find_last_of('.');
  if (dot != std::string::npos && dot > 0) stem.resize(dot);
}

}  // namespace

bool ChooseFrames(const SourceScene& scene, const ConvertOptions& options, std::vector<FrameMoment>& moments,
                  std::string& error) {
  moments.clear();
  int animation = -1;
  if (scene.keyframeCount > 0 && !options.restPose) {
    for (int k = 0; k < scene.keyframeCount; ++k) moments.push_back({nullptr, 0, k});
  } else if (!options.restPose && !scene.animations.empty()) {
    animation = FindAnimation(scene, options.animation);
    if (animation < 0) {
      error = "no animation \"" + options.animation + "\"; the file has";
      for (std::size_t a = 0; a < scene.animations.size(); ++a) {
        error += (a ? ", " : " ") + std::to_string(a) + " \"" + scene.animations[a].name + "\"";
      }
      return false;
    }
    const SourceAnimation& chosen = scene.animations[animation];
    const int count = AnimationFrameCount(chosen.duration, options.fps);
    for (int f = 0; f < count; ++f) moments.push_back({&chosen, f / options.fps, -1});
  } else {
    if (!options.animation.empty() && !options.restPose) {
      error = "no animation \"" + options.animation + "\": the file has none";
      return false;
    }
    moments.push_back({});
  }
  const int last = options.lastFrame < 0 ? static_cast<int>(moments.size()) - 1 : options.lastFrame;
  if (options.firstFrame < 0 || options.firstFrame > last || last >= static_cast<int>(moments.size())) {
    error = "frames " + std::to_string(options.firstFrame) + ":" + std::to_string(last) + " are outside 0:" +
            std::to_string(moments.size() - 1);
    return false;
  }
  moments.erase(moments.begin() + last + 1, moments.end());
  moments.erase(moments.begin(), moments.begin() + options.firstFrame);
  if (moments.size() > kMaxModelFrames) {
    error = std::to_string(moments.size()) + " frames are too many (at most " + std::to_string(kMaxModelFrames) +
            "); lower --fps or choose --frames";
    return false;
  }
  return true;
}

bool ConvertToModel(const SourceScene& scene, const ConvertOptions& options, const std::string& outputPath,
                    std::vector<OutputSummary>& written, std::string& error) {
  std::vector<FrameMoment> moments;
  if (!ChooseFrames(scene, options, moments, error)) return false;
  return WriteModel(scene, MeshInstances(scene), moments, options.axes, outputPath, written, error);
}

bool ConvertToScene(const SourceScene& scene, const ConvertOptions& options, const std::string& sourceFolder,
                    const std::string& outputPath, std::vector<OutputSummary>& written,
                    std::vector<std::string>& warnings, std::string& error) {
  std::vector<FrameMoment> moments;
  if (!ChooseFrames(scene, options, moments, error)) return false;
  std::string folder, stem;
  SplitOutputPath(outputPath, folder, stem);

  std::vector<std::string> textureFiles;        // as the scene file names them
  std::map<std::string, int> textureOf;         // material picture -> 1-based texture number
  int whiteTexture = 0;
  const auto addTexture = [&](const std::string& reference) -> int {
    const std::string name = stem + "_" + std::to_string(textureFiles.size() + 1) + ".png";
    if (reference.empty() ? !WriteWhiteTexture(folder + name)
                          : !ExportTexture(scene, sourceFolder, reference, folder + name, error)) {
      if (reference.empty()) error = "cannot write \"" + folder + name + "\"";
      return 0;
    }
    textureFiles.push_back(name);
    written.push_back({folder + name, {}, FileSize(folder + name)});
    return static_cast<int>(textureFiles.size());
  };

  std::string text = std::string(kSceneFileTag) + " scene written by dddconvert\r\n";
  std::string objects;
  const std::vector<MeshInstance> instances = MeshInstances(scene);
  int models = 0;
  for (const MeshInstance& instance : instances) {
    const SourceMesh& mesh = scene.meshes[instance.mesh];
    if (mesh.indices.empty()) continue;
    const bool hasMaterial = mesh.material >= 0 && static_cast<std::size_t>(mesh.material) < scene.materials.size();
    const std::string reference = hasMaterial ? scene.materials[mesh.material].texture : "";
    int texture = reference.empty() ? whiteTexture : textureOf[reference];
    if (texture == 0) {
      texture = addTexture(reference);
      if (texture == 0 && !reference.empty()) {
        // A picture that cannot be read costs the model its picture, not the conversion.
        warnings.push_back(error + "; its models get a white texture");
        texture = whiteTexture ? whiteTexture : addTexture("");
        whiteTexture = texture;
      }
      if (texture == 0) return false;
      (reference.empty() ? whiteTexture : textureOf[reference]) = texture;
    }
    const std::string name = stem + "_" + std::to_string(models + 1) + ".ddd";
    if (!WriteModel(scene, {instance}, moments, options.axes, folder + name, written, error)) return false;
    ++models;
    const std::string n = std::to_string(models);
    objects += n + "=" + name + "\r\n" + n + "ta=" + std::to_string(texture) + "\r\n" + n + "tb=" +
               std::to_string(texture) + "\r\n";
  }
  text += "[textures]\r\ncount=" + std::to_string(textureFiles.size()) + "\r\n";
  for (std::size_t t = 0; t < textureFiles.size(); ++t) text += std::to_string(t + 1) + "=" + textureFiles[t] + "\r\n";
  text += "[objects]\r\ncount=" + std::to_string(models) + "\r\n" + objects;
  if (!ReplaceFileContents(outputPath, text)) {
    error = "cannot write \"" + outputPath + "\"";
    return false;
  }
  written.push_back({outputPath, {}, FileSize(outputPath)});
  return true;
}

std::string SummaryLine(const OutputSummary& summary) {
  std::string line = summary.path + ": ";
  if (summary.model.frames > 0) {
    line += std::to_string(summary.model.triangles) + " triangles, " + std::to_string(summary.model.frames) +
            (summary.model.frames == 1 ? " frame, " : " frames, ") + std::to_string(summary.model.colours) +
            " colours";
    if (summary.model.sourceColours > summary.model.colours) {
      line += " (reduced from " + std::to_string(summary.model.sourceColours) + ")";
    }
    line += ", ";
  }
  return line + std::to_string(summary.bytes) + " bytes";
}
