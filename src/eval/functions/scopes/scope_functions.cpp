// The registry rows of the scopes and tree functions.
#include "eval/functions/scopes/scope_functions.h"

#include <array>

namespace {

constexpr std::array<TJUXFunctionInfo, 14> kScopeFunctions = {{
    {"nodeinfo", JUXFunctionClass<TJUXFunc_NodeInfo>(),
     "Returns a property of the current node: SelfLeft, SelfTop, SelfRight, SelfBottom, ChildrenLeft, ChildrenTop, "
     "ChildrenRight, ChildrenBottom, RealSize or DisplaySize",
     "(AProperty [string]): [double]", {"nodeinfo", "rectangle", "size", "position", "display"}, jfcDisplay},
    {"allrecords", JUXFunctionClass<TJUXFunc_COS_AllRecords>(), "Returns the set of all records of the data set",
     ": [scope]", {"allrecords", "records", "all", "data", "scope"}, jfcTree},
    {"wholelevel", JUXFunctionClass<TJUXFunc_COS_WholeLevel>(),
     "Returns the set of all nodes on the same distance from the root as the current node", ": [scope]",
     {"wholelevel", "level", "depth", "scope"}, jfcTree},
    {"clustername", JUXFunctionClass<TJUXFunc_ClusterName>(),
     "Returns the text of the value the current node groups; empty for a node that groups no value",
     ": [string]", {"clustername", "cluster", "group", "name"}, jfcTree},
    {"scope", JUXFunctionClass<TJUXFunc_COS_Scope>(), "Returns the current node", ": [scope]",
     {"scope", "current", "self", "node"}, jfcTree},
    {"childrencount", JUXFunctionClass<TJUXFunc_ChildrenCount>(), "Returns the number of children of the current node",
     ": [integer]", {"childrencount", "children", "count"}, jfcTree},
    {"levelindex", JUXFunctionClass<TJUXFunc_LevelIndex>(),
     "Returns the distance of the current node from the root; 0 for the root", ": [integer]",
     {"levelindex", "level", "depth"}, jfcTree},
    {"filter", JUXFunctionClass<TJUXFunc_ScopeFilt>(),
     "Returns the nodes of a set for which a test, evaluated with the node as scope, is true",
     "(AScopeSet [scope]; ATest [boolean]): [scope]", {"filter", "where", "select", "condition", "scope"}, jfcSet},
    {"evalfor", JUXFunctionClass<TJUXChangeOfScope>(),
     "Evaluates a value with every node of a scope as the current node. Also written as the operator .",
     "(AScope [scope]; AValue [any]): [any]", {"evalfor", "scope", "change", "."}, jfcTree},
    {"parent", JUXFunctionClass<TJUXFunc_COS_Parent>(), "Returns the parent of the current node", ": [scope]",
     {"parent", "up", "scope"}, jfcTree},
    {"children", JUXFunctionClass<TJUXFunc_COS_Children>(), "Returns the set of the children of the current node",
     ": [scope]", {"children", "child", "down", "scope"}, jfcTree},
    {"root", JUXFunctionClass<TJUXFunc_COS_Root>(), "Returns the root of the tree", ": [scope]",
     {"root", "top", "scope"}, jfcTree},
    {"displayroot", JUXFunctionClass<TJUXFunc_COS_DisplayRoot>(),
     "Returns the nearest node from the current node upwards that is shown as a root", ": [scope]",
     {"displayroot", "display", "root", "scope"}, jfcTree},
    {"nodes", JUXFunctionClass<TJUXFunc_COS_Nodes>(), "Returns the set of leaf nodes below the current node",
     ": [scope]", {"nodes", "leaves", "records", "scope"}, jfcTree},
}};

}  // namespace

std::span<const TJUXFunctionInfo> ScopeFunctionTable() { return kScopeFunctions; }
