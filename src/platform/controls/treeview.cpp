#include "platform/controls/treeview.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "platform/controls/control_helpers.h"
#include "platform/ui/dispatcher.h"

namespace platform {

namespace {

// Virtual key codes the tree handles itself.
constexpr int VkEnd = 35, VkHome = 36, VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40;

char foldAscii(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

// ---- Node ----

Node::Node(TreeView& tree, std::string key, std::string text, int image)
    : tree_(tree),
      serial_(nextEntrySerial()),
      key_(std::move(key)),
      text_(std::move(text)),
      image_(image) {}

void Node::setKey(const std::string& key) {
    check();
    if (tree_.keys_.rekey(this, key_, key)) tree_.nodeChanged();
}

void Node::setText(std::string text) {
    check();
    if (assignChanged(text_, std::move(text))) tree_.nodeChanged();
}

void Node::setImage(int image) {
    check();
    if (assignChanged(image_, image)) tree_.nodeChanged();
}

void Node::setForeColor(Color color) {
    check();
    if (assignChanged(foreColor_, color)) tree_.nodeChanged();
}

void Node::setExpanded(bool expanded) {
    check();
    if (expanded)
        tree_.unfold(*this);
    else
        tree_.fold(*this);
}

bool Node::selected() const { return check(), tree_.selected_ == this; }

void Node::setSelected(bool selected) {
    check();
    if (selected)
        tree_.select(this);
    else if (tree_.selected_ == this)
        tree_.select(nullptr);
}

Node* Node::firstSibling() const {
    check();
    return parent_ ? parent_->firstChild_ : tree_.firstRoot_;
}

Node* Node::lastSibling() const {
    check();
    return parent_ ? parent_->lastChild_ : tree_.lastRoot_;
}

Node* Node::root() const { return check(), tree_.firstRoot_; }

int Node::index() const {
    check();
    tree_.renumber();
    return index_;
}

std::string Node::fullPath() const {
    check();
    std::vector<const Node*> chain;
    for (const Node* n = this; n; n = n->parent_) chain.push_back(n);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (it != chain.rbegin()) path += tree_.pathSeparator_;
        path += (*it)->text_;
    }
    return path;
}

// ---- TreeView ----

TreeView::TreeView(Form& owner, std::string name) : Control(owner, std::move(name)) {}

TreeView::~TreeView() {
    // A procedure running now may still hold a node.
    for (const auto& n : nodes_) n->dead_ = true;
    if (Dispatcher::instance().inEvent()) Dispatcher::instance().retire(std::move(nodes_));
}

Node& TreeView::insert(Node* parent, std::string key, std::string text, int image) {
    keys_.check(key);
    renumber();
    nodes_.push_back(
        std::unique_ptr<Node>(new Node(*this, std::move(key), std::move(text), image)));
    Node* n = nodes_.back().get();
    n->index_ = count();
    keys_.add(n->key_, n);
    n->parent_ = parent;
    Node*& first = parent ? parent->firstChild_ : firstRoot_;
    Node*& last = parent ? parent->lastChild_ : lastRoot_;
    n->prev_ = last;
    if (last)
        last->next_ = n;
    else
        first = n;
    last = n;
    if (parent) ++parent->childCount_;
    changed();
    return *n;
}

Node& TreeView::add(std::string key, std::string text, int image) {
    return insert(nullptr, std::move(key), std::move(text), image);
}

Node& TreeView::addChild(std::string_view parentKey, std::string key, std::string text, int image) {
    return insert(&keys_.at(parentKey), std::move(key), std::move(text), image);
}

Node& TreeView::addChild(Node& parent, std::string key, std::string text, int image) {
    if (&parent.treeView() != this) raise(err::ElementNotFound);
    return insert(&parent, std::move(key), std::move(text), image);
}

void TreeView::remove(int index) { remove(item(index)); }

void TreeView::remove(std::string_view key) { remove(item(key)); }

void TreeView::checkOwn(const Node& node) const {
    if (node.dead_) raiseRemoved();
    if (&node.tree_ != this) raise(err::ElementNotFound);
}

void TreeView::markRemoved(Node& node) {
    std::vector<Node*> stack{&node};
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        n->dead_ = true;
        keys_.erase(n->key_);
        if (selected_ == n) selected_ = nullptr;
        if (editing_ == n) editing_ = nullptr;
        for (Node* c = n->firstChild_; c; c = c->next_) stack.push_back(c);
    }
}

void TreeView::remove(Node& node) {
    checkOwn(node);
    // Unlink the subtree from its siblings.
    Node*& first = node.parent_ ? node.parent_->firstChild_ : firstRoot_;
    Node*& last = node.parent_ ? node.parent_->lastChild_ : lastRoot_;
    if (node.prev_)
        node.prev_->next_ = node.next_;
    else
        first = node.next_;
    if (node.next_)
        node.next_->prev_ = node.prev_;
    else
        last = node.prev_;
    if (node.parent_) --node.parent_->childCount_;
    markRemoved(node);

    // The removed nodes leave the list (the others keep their order) and
    // are retired.
    const auto gone = std::stable_partition(nodes_.begin(), nodes_.end(),
                                            [](const auto& n) { return !n->dead_; });
    std::vector<std::unique_ptr<Node>> removed(std::make_move_iterator(gone),
                                               std::make_move_iterator(nodes_.end()));
    nodes_.erase(gone, nodes_.end());
    Dispatcher::instance().retire(std::move(removed));
    indexDirty_ = true;
    changed();
}

void TreeView::clear() {
    for (const auto& n : nodes_) n->dead_ = true;
    Dispatcher::instance().retire(std::move(nodes_));
    nodes_.clear();
    keys_.clear();
    firstRoot_ = lastRoot_ = nullptr;
    selected_ = editing_ = nullptr;
    indexDirty_ = false;
    changed();
}

Node& TreeView::item(int index) const { return *detail::atIndex(nodes_, index); }

Node& TreeView::item(std::string_view key) const { return keys_.at(key); }

Node* TreeView::find(std::string_view key) const { return keys_.find(key); }

void TreeView::renumber() const {
    if (!indexDirty_) return;
    int i = 0;
    for (const auto& n : nodes_) n->index_ = ++i;
    indexDirty_ = false;
}

Node* TreeView::findSerial(std::uint64_t serial) const {
    // Serials grow in the order of adding, which is the nodes' order.
    auto it = std::lower_bound(
        nodes_.begin(), nodes_.end(), serial,
        [](const std::unique_ptr<Node>& n, std::uint64_t s) { return n->serial_ < s; });
    return it != nodes_.end() && (*it)->serial_ == serial ? it->get() : nullptr;
}

void TreeView::select(Node* node) {
    if (node)
        for (Node* p = node->parent_; p; p = p->parent_) unfold(*p);
    setField(selected_, node);
}

void TreeView::setSelectedItem(Node* node) {
    if (node) checkOwn(*node);
    select(node);
}

void TreeView::unfold(Node& node) {
    if (node.expanded_) return;
    node.expanded_ = true;
    changed();
}

void TreeView::fold(Node& node) {
    if (!node.expanded_) return;
    node.expanded_ = false;
    for (Node* p = selected_ ? selected_->parent_ : nullptr; p; p = p->parent_)
        if (p == &node) {
            selected_ = &node;
            break;
        }
    changed();
}

void TreeView::setStyle(int style) { setField(style_, style); }

void TreeView::setLineStyle(int lineStyle) { setField(lineStyle_, lineStyle); }

void TreeView::setLabelEdit(int labelEdit) { setField(labelEdit_, labelEdit); }

void TreeView::setPathSeparator(std::string separator) {
    pathSeparator_ = std::move(separator);
    changed();
}

void TreeView::setImageList(ImageList* list) {
    imageList_ = list;
    changed();
}

void TreeView::refresh() { changed(); }

void TreeView::startLabelEdit() {
    if (!selected_) return;
    Node* node = selected_;
    int cancel = 0;
    if (BeforeLabelEdit) BeforeLabelEdit(cancel);
    if (cancel != 0 || node->dead_) return;
    editing_ = node;
    changed();
}

std::vector<Node*> TreeView::shownNodes() const {
    std::vector<Node*> shown;
    std::vector<Node*> stack;
    for (Node* n = lastRoot_; n; n = n->prev_) stack.push_back(n);
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        shown.push_back(n);
        if (n->expanded_)
            for (Node* c = n->lastChild_; c; c = c->prev_) stack.push_back(c);
    }
    return shown;
}

// ---- user gestures ----

void TreeView::userClickNode(Node& node) {
    checkOwn(node);
    dispatch([&] {
        select(&node);
        if (NodeClick) NodeClick(node);
    });
}

void TreeView::userCollapse(Node& node) {
    checkOwn(node);
    dispatch([&] {
        fold(node);
        if (Collapse) Collapse(node);
    });
}

void TreeView::userExpand(Node& node) {
    checkOwn(node);
    dispatch([&] { unfold(node); });
}

void TreeView::userStartLabelEdit(Node& node) {
    checkOwn(node);
    if (labelEdit_ != 0) return;  // manual: only code starts an edit
    dispatch([&] {
        select(&node);
        startLabelEdit();
    });
}

void TreeView::userEndLabelEdit(std::optional<std::string> newText) {
    dispatch([&] {
        Node* node = editing_;
        if (!node) return;
        editing_ = nullptr;
        changed();
        if (!newText) return;  // Esc: the old text stays, nothing is raised
        int cancel = 0;
        const std::string text = *newText;
        if (AfterLabelEdit) AfterLabelEdit(cancel, text);
        if (cancel == 0 && !node->dead_) node->setText(text);
    });
}

void TreeView::userMouseDown(int button, int shift, double x, double y) {
    dispatch([&] {
        if (MouseDown) MouseDown(button, shift, x, y);
    });
}

void TreeView::userKeyPress(int keyAscii) {
    dispatch([&] {
        if (KeyPress) KeyPress(keyAscii);
        if (keyAscii <= 32 || keyAscii >= 127) return;
        // The tree's own search: the next shown node whose text begins with
        // the character, after the selected one, wrapping round.
        const char typed = foldAscii(static_cast<char>(keyAscii));
        const std::vector<Node*> shown = shownNodes();
        if (shown.empty()) return;
        std::size_t start = 0;
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (shown[i] == selected_) start = i + 1;
        for (std::size_t k = 0; k < shown.size(); ++k) {
            Node* n = shown[(start + k) % shown.size()];
            if (!n->text_.empty() && foldAscii(n->text_[0]) == typed) {
                select(n);
                return;
            }
        }
    });
}

void TreeView::userKeyDown(int keyCode, int shift) {
    dispatch([&] {
        if (KeyDown) KeyDown(keyCode, shift);
        const std::vector<Node*> shown = shownNodes();
        if (shown.empty()) return;
        auto pos = std::find(shown.begin(), shown.end(), selected_);
        const bool none = pos == shown.end();
        switch (keyCode) {
            case VkHome:
                select(shown.front());
                break;
            case VkEnd:
                select(shown.back());
                break;
            case VkUp:
                select(none ? shown.front() : pos == shown.begin() ? *pos : *(pos - 1));
                break;
            case VkDown:
                select(none ? shown.front() : pos + 1 == shown.end() ? *pos : *(pos + 1));
                break;
            case VkLeft:
                if (none) break;
                if (selected_->expanded_ && selected_->firstChild_) {
                    Node& n = *selected_;
                    fold(n);
                    if (Collapse) Collapse(n);
                } else if (selected_->parent_) {
                    select(selected_->parent_);
                }
                break;
            case VkRight:
                if (none || !selected_->firstChild_) break;
                if (!selected_->expanded_)
                    unfold(*selected_);
                else
                    select(selected_->firstChild_);
                break;
            default:
                break;
        }
    });
}

}  // namespace platform
