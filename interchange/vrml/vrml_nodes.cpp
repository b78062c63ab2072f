#include "interchange/vrml/vrml_nodes.h"

#include <algorithm>
#include <sstream>
#include <unordered_map>

namespace {

struct FieldTypeName {
  const char *name;
  moFieldType type;
};

const FieldTypeName kFieldTypes[] = {
    {"SFBool", moSFBool},         {"SFColor", moSFColor},   {"SFFloat", moSFFloat},
    {"SFImage", moSFImage},       {"SFInt32", moSFLong},    {"SFNode", moSFNode},
    {"SFRotation", moSFRotation}, {"SFString", moSFString}, {"SFTime", moSFTime},
    {"SFVec2f", moSFVec2f},       {"SFVec3f", moSFVec3f},   {"MFColor", moMFColor},
    {"MFFloat", moMFFloat},       {"MFInt32", moMFLong},    {"MFNode", moMFNode},
    {"MFRotation", moMFRotation}, {"MFString", moMFString}, {"MFTime", moMFTime},
    {"MFVec2f", moMFVec2f},       {"MFVec3f", moMFVec3f},
};

// The standard node types, each with its fields as "type name" pairs. Events cannot be given
// in a node body, so only fields and exposed fields are listed.
const char *const kBounds = " SFVec3f bboxCenter SFVec3f bboxSize";
const std::pair<const char *, std::string> kNodeTypes[] = {
    {"Anchor",
     std::string("MFNode children SFString description MFString parameter MFString url") + kBounds},
    {"Appearance", "SFNode material SFNode texture SFNode textureTransform"},
    {"AudioClip", "SFString description SFBool loop SFFloat pitch SFTime startTime "
                  "SFTime stopTime MFString url"},
    {"Background", "MFFloat groundAngle MFColor groundColor MFString backUrl MFString bottomUrl "
                   "MFString frontUrl MFString leftUrl MFString rightUrl MFString topUrl "
                   "MFFloat skyAngle MFColor skyColor"},
    {"Billboard", std::string("SFVec3f axisOfRotation MFNode children") + kBounds},
    {"Collision", std::string("MFNode children SFBool collide SFNode proxy") + kBounds},
    {"Color", "MFColor color"},
    {"ColorInterpolator", "MFFloat key MFColor keyValue"},
    {"Cone", "SFFloat bottomRadius SFFloat height SFBool side SFBool bottom"},
    {"Coordinate", "MFVec3f point"},
    {"CoordinateInterpolator", "MFFloat key MFVec3f keyValue"},
    {"Cylinder", "SFBool bottom SFFloat height SFFloat radius SFBool side SFBool top"},
    {"CylinderSensor", "SFBool autoOffset SFFloat diskAngle SFBool enabled SFFloat maxAngle "
                       "SFFloat minAngle SFFloat offset"},
    {"DirectionalLight", "SFFloat ambientIntensity SFColor color SFVec3f direction "
                         "SFFloat intensity SFBool on"},
    {"ElevationGrid", "SFNode color SFNode normal SFNode texCoord MFFloat height SFBool ccw "
                      "SFBool colorPerVertex SFFloat creaseAngle SFBool normalPerVertex "
                      "SFBool solid SFInt32 xDimension SFFloat xSpacing SFInt32 zDimension "
                      "SFFloat zSpacing"},
    {"Extrusion", "SFBool beginCap SFBool ccw SFBool convex SFFloat creaseAngle "
                  "MFVec2f crossSection SFBool endCap MFRotation orientation MFVec2f scale "
                  "SFBool solid MFVec3f spine"},
    {"Fog", "SFColor color SFString fogType SFFloat visibilityRange"},
    {"FontStyle", "MFString family SFBool horizontal MFString justify SFString language "
                  "SFBool leftToRight SFFloat size SFFloat spacing SFString style "
                  "SFBool topToBottom"},
    {"Group", std::string("MFNode children") + kBounds},
    {"ImageTexture", "MFString url SFBool repeatS SFBool repeatT"},
    {"IndexedFaceSet", "SFNode color SFNode coord SFNode normal SFNode texCoord SFBool ccw "
                       "MFInt32 colorIndex SFBool colorPerVertex SFBool convex MFInt32 coordIndex "
                       "SFFloat creaseAngle MFInt32 normalIndex SFBool normalPerVertex "
                       "SFBool solid MFInt32 texCoordIndex"},
    {"IndexedLineSet", "SFNode color SFNode coord MFInt32 colorIndex SFBool colorPerVertex "
                       "MFInt32 coordIndex"},
    {"Inline", std::string("MFString url") + kBounds},
    {"LOD", "MFNode level SFVec3f center MFFloat range"},
    {"Material", "SFFloat ambientIntensity SFColor diffuseColor SFColor emissiveColor "
                 "SFFloat shininess SFColor specularColor SFFloat transparency"},
    {"MovieTexture", "SFBool loop SFFloat speed SFTime startTime SFTime stopTime MFString url "
                     "SFBool repeatS SFBool repeatT"},
    {"NavigationInfo", "MFFloat avatarSize SFBool headlight SFFloat speed MFString type "
                       "SFFloat visibilityLimit"},
    {"Normal", "MFVec3f vector"},
    {"NormalInterpolator", "MFFloat key MFVec3f keyValue"},
    {"OrientationInterpolator", "MFFloat key MFRotation keyValue"},
    {"PixelTexture", "SFImage image SFBool repeatS SFBool repeatT"},
    {"PlaneSensor", "SFBool autoOffset SFBool enabled SFVec2f maxPosition SFVec2f minPosition "
                    "SFVec3f offset"},
    {"PointLight", "SFFloat ambientIntensity SFVec3f attenuation SFColor color "
                   "SFFloat intensity SFVec3f location SFBool on SFFloat radius"},
    {"PointSet", "SFNode color SFNode coord"},
    {"PositionInterpolator", "MFFloat key MFVec3f keyValue"},
    {"ProximitySensor", "SFVec3f center SFVec3f size SFBool enabled"},
    {"ScalarInterpolator", "MFFloat key MFFloat keyValue"},
    {"Script", "MFString url SFBool directOutput SFBool mustEvaluate"},
    {"Shape", "SFNode appearance SFNode geometry"},
    {"Sound", "SFVec3f direction SFFloat intensity SFVec3f location SFFloat maxBack "
              "SFFloat maxFront SFFloat minBack SFFloat minFront SFFloat priority "
              "SFNode source SFBool spatialize"},
    {"Sphere", "SFFloat radius"},
    {"SphereSensor", "SFBool autoOffset SFBool enabled SFRotation offset"},
    {"SpotLight", "SFFloat ambientIntensity SFVec3f attenuation SFFloat beamWidth "
                  "SFColor color SFFloat cutOffAngle SFVec3f direction SFFloat intensity "
                  "SFVec3f location SFBool on SFFloat radius"},
    {"Switch", "MFNode choice SFInt32 whichChoice"},
    {"Text", "MFString string SFNode fontStyle MFFloat length SFFloat maxExtent"},
    {"TextureCoordinate", "MFVec2f point"},
    {"TextureTransform", "SFVec2f center SFFloat rotation SFVec2f scale SFVec2f translation"},
    {"TimeSensor", "SFTime cycleInterval SFBool enabled SFBool loop SFTime startTime "
                   "SFTime stopTime"},
    {"TouchSensor", "SFBool enabled"},
    {"Transform", std::string("SFVec3f center MFNode children SFRotation rotation SFVec3f scale "
                              "SFRotation scaleOrientation SFVec3f translation") +
                      kBounds},
    {"Viewpoint", "SFFloat fieldOfView SFBool jump SFRotation orientation SFVec3f position "
                  "SFString description"},
    {"VisibilitySensor", "SFVec3f center SFBool enabled SFVec3f size"},
    {"WorldInfo", "MFString info SFString title"},
};

std::unordered_map<std::string_view, moNodeType> buildNodeTypes() {
  std::unordered_map<std::string_view, moNodeType> types;
  for (const auto &[name, fields] : kNodeTypes) {
    moNodeType type{name, {}};
    std::istringstream words(fields);
    std::string typeName, fieldName;
    while (words >> typeName >> fieldName) {
      moFieldType fieldType = moSFBool;
      fieldTypeNamed(typeName, fieldType);
      type.fields.push_back({fieldName, fieldType});
    }
    types.emplace(name, std::move(type));
  }
  return types;
}

} // namespace

bool fieldTypeNamed(std::string_view name, moFieldType &type) {
  for (const FieldTypeName &f : kFieldTypes)
    if (name == f.name) {
      type = f.type;
      return true;
    }
  return false;
}

bool isMultiValued(moFieldType type) { return type >= moMFColor; }

int numbersPerValue(moFieldType type) {
  switch (type) {
  case moSFBool:
  case moSFFloat:
  case moSFLong:
  case moSFTime:
  case moMFFloat:
  case moMFLong:
  case moMFTime:
    return 1;
  case moSFVec2f:
  case moMFVec2f:
    return 2;
  case moSFColor:
  case moSFVec3f:
  case moMFColor:
  case moMFVec3f:
    return 3;
  case moSFRotation:
  case moMFRotation:
    return 4;
  default:
    return 0;
  }
}

bool isIntegerValued(moFieldType type) {
  return type == moSFLong || type == moMFLong || type == moSFBool;
}

const moFieldSpec *moNodeType::field(std::string_view fieldName) const {
  for (const moFieldSpec &f : fields)
    if (f.name == fieldName)
      return &f;
  return nullptr;
}

const moNodeType *findNodeType(std::string_view name) {
  static const std::unordered_map<std::string_view, moNodeType> types = buildNodeTypes();
  const auto found = types.find(name);
  return found == types.end() ? nullptr : &found->second;
}

void moNode::setField(moField field) {
  for (const moNodePtr &child : field.nodes)
    if (child)
      height_ = std::max(height_, child->height() + 1);
  for (moField &old : fields_)
    if (old.spec == field.spec) {
      old = std::move(field);
      return;
    }
  fields_.push_back(std::move(field));
}

const moField *moNode::field(std::string_view fieldName) const {
  for (const moField &f : fields_)
    if (f.spec->name == fieldName)
      return &f;
  return nullptr;
}

const moNode *moNode::nodeField(std::string_view fieldName) const {
  const moField *f = field(fieldName);
  return f && !f->nodes.empty() ? f->nodes.front().get() : nullptr;
}

bool moNode::boolField(std::string_view fieldName, bool fallback) const {
  const moField *f = field(fieldName);
  return f && !f->ints.empty() ? f->ints.front() != 0 : fallback;
}
