#pragma once
namespace Module1 {
// The start-up procedure: intro, story, credits, in that order.
void Main();
}
