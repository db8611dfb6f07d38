#include "cache/WindowOrder.h"

namespace video {

std::vector<int> windowVisitingOrder(int length) {
    std::vector<int> order;
    if (length <= 0) {
        return order;
    }
    int position = length / 2 + length % 2 - 1;
    int sign = 1;
    for (int k = 0; k < length; ++k) {
        sign = -sign;
        position += sign * k;
        order.push_back(position);
    }
    return order;
}

}  // namespace video
